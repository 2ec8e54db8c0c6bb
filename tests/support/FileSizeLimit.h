#pragma once
// A regular file whose writes fail part way, as on a full disk: while the
// guard lives, the process may not make a file longer than `bytes`, and the
// signal that would end it for trying is ignored, so the write reports
// EFBIG. The shell's counterpart for a child: trap '' XFSZ; ulimit -f BLOCKS.

#include <signal.h>
#include <sys/resource.h>

#include <cstddef>

class FileSizeLimit {
public:
    explicit FileSizeLimit(std::size_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        previousSignal_ = ::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        ::signal(SIGXFSZ, previousSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    sighandler_t previousSignal_ = SIG_DFL;
};
