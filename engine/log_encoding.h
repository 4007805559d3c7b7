#pragma once

// How a conversion log is written. Code page 932 with CR LF is what settings-file runs
// have always written (a character it cannot hold becomes "&#NNNN;", its code point);
// the commands write UTF-8 with LF unless asked for code page 932.
//
//   ConversionLog log(page, /*textFormat=*/true, clock, {}, LogEncoding::kUtf8);

namespace yentax {

enum class LogEncoding { kCp932, kUtf8 };

}  // namespace yentax
