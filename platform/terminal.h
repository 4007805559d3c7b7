#pragma once

// The width of the terminal a stream goes to, so that a line that rewrites itself fits
// on one row.
//
//   ProgressLine progress(std::cerr, terminalColumns(STDERR_FILENO));

#include <cstddef>

namespace yentax {

// The columns of the terminal at fd; $COLUMNS or 80 when the terminal does not say;
// 0 when fd is no terminal.
std::size_t terminalColumns(int fd);

}  // namespace yentax
