#pragma once
// What every program of the suite does first in main(), before it opens
// anything.
namespace common {

// - A standard descriptor (0, 1, 2) that was closed when the program was
//   started is opened on /dev/null: otherwise the first file the program opens
//   takes its number, and the key wait reads the model file or a message is
//   written into a result.
// - SIGPIPE and SIGXFSZ are ignored: a console whose reader has gone, or a
//   file that grows past the size limit (ulimit -f), then fails the write that
//   meets it (EPIPE, EFBIG) instead of killing the program half-way with its
//   lock and its files aside left behind. The program reports a file it could
//   not write as for a full disk, and goes on without a lost console.
// The programs the suite starts get every signal back at its default.
void hardenProcess();

}  // namespace common
