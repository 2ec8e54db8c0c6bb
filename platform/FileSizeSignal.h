#pragma once
// Under a file-size limit (`ulimit -f`) a write past it ends the program by
// SIGXFSZ, with the port still held and the language never written back,
// unless the signal is ignored: the write then fails with "File too large"
// as on a full disk, and takes the path every failed write takes.

// Lets such writes fail instead. Call it first thing in main. Windows has no
// such limit or signal.
void LetOversizedWritesFail();
