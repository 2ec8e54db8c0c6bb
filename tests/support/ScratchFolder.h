#pragma once
// A fresh folder under the system's temporary folder for one test, removed with
// everything in it when the test ends; and whole-file helpers for it.

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

class ScratchFolder {
public:
    ScratchFolder() {
#ifdef _WIN32
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const auto name =
                std::filesystem::temp_directory_path() / ("vmx-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(name)) path_ = name;
        }
        if (path_.empty()) throw std::runtime_error("no scratch folder");
#else
        std::string name = (std::filesystem::temp_directory_path() / "vmx-test-XXXXXX").string();
        if (!::mkdtemp(name.data())) throw std::runtime_error("mkdtemp failed");
        path_ = name;
#endif
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const {
        return path_;
    }
    std::filesystem::path operator/(const std::string& name) const {
        return path_ / name;
    }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Inode (file index) and modification time: equal before and after means the
// file was not replaced.
struct FileIdentity {
    unsigned long long inode = 0;
    long long seconds = 0;
    long nanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};

inline FileIdentity IdentityOf(const std::filesystem::path& path) {
#ifdef _WIN32
    const HANDLE file = ::CreateFileW(path.wstring().c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(file, &info);
    ::CloseHandle(file);
    if (!known) return {};
    const auto join = [](DWORD high, DWORD low) { return (0ull + high) << 32 | low; };
    const unsigned long long ticks =
        join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    return {join(info.nFileIndexHigh, info.nFileIndexLow),
            static_cast<long long>(ticks / 10'000'000), static_cast<long>(ticks % 10'000'000)};
#else
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    return {info.st_ino, static_cast<long long>(info.st_mtim.tv_sec), info.st_mtim.tv_nsec};
#endif
}
