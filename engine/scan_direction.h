#pragma once

namespace yentax {

// Which way a scan reads the text. Forward scans examine the character at their cursor;
// backward scans examine the character just before it, so a cursor is always a boundary
// between two characters and the same index can hand a scan over from one to the other.
enum class ScanDirection { kBackward, kForward };

}  // namespace yentax
