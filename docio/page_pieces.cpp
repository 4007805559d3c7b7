#include "docio/page_pieces.h"

#include <condition_variable>
#include <cstring>
#include <future>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "base/large_buffer.h"
#include "engine/pass_sweep.h"
#include "engine/piece_passes.h"
#include "engine/rate_classes.h"

namespace yentax {

namespace {

constexpr auto npos = std::string_view::npos;

// How far the worker may run ahead of the pieces already written out, so that only a few
// converted pieces wait in memory. Fewer leave the worker waiting while the writing thread
// converts a piece of its own.
constexpr std::size_t kPiecesAhead = 8;

bool cutsAsBytes(CharsetCode charset) {
  return charset == CharsetCode::ShiftJis || charset == CharsetCode::Unknown ||
         charset == CharsetCode::EucJp || charset == CharsetCode::Utf8;
}

// A byte where decoding may start and before which it may stop, reading every character
// around it as the whole page does: below 0x40 in Shift_JIS, which is neither a lead nor a
// trail byte; ASCII in EUC-JP and UTF-8.
bool startsCharacter(CharsetCode charset, unsigned char byte) {
  return byte < (charset == CharsetCode::EucJp || charset == CharsetCode::Utf8 ? 0x80 : 0x40);
}

// A word's characters have one code each in these charsets, so a page whose bytes do not
// hold the word's bytes cannot hold the word.
bool mayMarkItems(std::string_view bytes, CharsetCode charset) {
  for (const std::u16string_view word : PageRates::markingWords()) {
    const std::string needle = encodePageText(word, charset);
    if (memmem(bytes.data(), bytes.size(), needle.data(), needle.size()) != nullptr) return true;
  }
  return false;
}

// Whether the page may mark items, found on another thread while the caller goes on, or
// on the caller's when no thread can be had.
std::future<bool> scanForMarkingWords(std::string_view bytes, CharsetCode charset) {
  try {
    return std::async(std::launch::async, mayMarkItems, bytes, charset);
  } catch (const std::system_error&) {
    return std::async(std::launch::deferred, mayMarkItems, bytes, charset);
  }
}

// One piece in the page's bytes: its body and the page read on either side.
struct PieceBytes {
  std::size_t from = 0;
  std::size_t bodyBegin = 0;
  std::size_t bodyEnd = 0;
  std::size_t to = 0;
  bool first = false;
  bool last = false;
};

// Bodies of about sizes.piece bytes, each starting at a "<"; nothing when the page is one.
std::vector<PieceBytes> cutPieces(std::string_view bytes, CharsetCode charset,
                                  const PieceSizes& sizes) {
  std::vector<std::size_t> cuts{0};
  const std::size_t n = bytes.size();
  for (;;) {
    const std::size_t target = cuts.back() + sizes.piece;
    if (target >= n) break;
    const std::size_t cut = bytes.find('<', target);
    if (cut == npos || cut + sizes.margin >= n) break;
    cuts.push_back(cut);
  }
  if (cuts.size() < 2) return {};
  cuts.push_back(n);
  auto startable = [&](std::size_t at) {
    return at == 0 || at >= n || startsCharacter(charset, static_cast<unsigned char>(bytes[at]));
  };
  std::vector<PieceBytes> pieces;
  for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
    PieceBytes piece{.bodyBegin = cuts[k],
                     .bodyEnd = cuts[k + 1],
                     .first = k == 0,
                     .last = k + 2 == cuts.size()};
    piece.from = piece.first ? 0 : cuts[k] - std::min(cuts[k], sizes.margin);
    while (!startable(piece.from)) --piece.from;
    piece.to = piece.last ? n : std::min(n, piece.bodyEnd + sizes.margin);
    while (!startable(piece.to)) ++piece.to;
    pieces.push_back(piece);
  }
  return pieces;
}

// A piece's text: the page before its body, the body and the page after it, each decoded
// on its own, which the cuts make the same as decoding the page whole.
struct DecodedPiece {
  std::u16string text;
  std::size_t bodyBegin = 0;
  std::size_t bodyEnd = 0;
  bool first = false;
  bool last = false;

  PagePiece piece() const { return {text, bodyBegin, bodyEnd, first, last}; }
};

DecodedPiece decodePiece(std::string_view bytes, CharsetCode charset, const PieceBytes& at) {
  DecodedPiece decoded;
  decoded.first = at.first;
  decoded.last = at.last;
  std::u16string& text = decoded.text;
  // The charsets cut as bytes never give more units than bytes.
  text.reserve(at.to - at.from);
  appendPageText(text, bytes.substr(at.from, at.bodyBegin - at.from), charset);
  decoded.bodyBegin = text.size();
  appendPageText(text, bytes.substr(at.bodyBegin, at.bodyEnd - at.bodyBegin), charset);
  decoded.bodyEnd = text.size();
  appendPageText(text, bytes.substr(at.bodyEnd, at.to - at.bodyEnd), charset);
  return decoded;
}

// A piece converted and, where it changed, encoded on the thread that converted it.
struct ConvertedPiece {
  PieceOutcome outcome;  // with its body given up for the bytes
  std::string bytes;     // the rewritten body in the page's charset
};

// The pieces converted on the calling thread and one more, written out in page order.
class PieceRun {
 public:
  PieceRun(LoadedPage& page, const ConversionSettings& settings, ConversionContext& context,
           const PiecePasses& passes, std::vector<PieceBytes> pieces)
      : page_(page),
        bytes_(page.bytes),
        context_(context),
        passes_(passes),
        pieces_(std::move(pieces)),
        slots_(pieces_.size()),
        log_(logFor(settings, context)),
        held_(passes.passCount()) {
    if (context.bytesSpill && !page.byteOrderMark) spill_ = &context.bytesSpill;
  }

  std::optional<PageConversion> run(DecodedPiece first);

 private:
  ConvertedPiece convertDecoded(const DecodedPiece& decoded) const;
  ConvertedPiece convertAt(std::size_t k) const;
  void work();
  bool claim(std::size_t& k, bool waitForRoom);
  void store(std::size_t k, ConvertedPiece converted);
  void waitForPair(std::size_t k);
  void stopClaims();
  void writeOut(const PieceBytes& at, ConvertedPiece& converted);
  void emit(std::string_view bytes);
  std::optional<PageConversion> writeAll();
  PageConversion finish();

  LoadedPage& page_;
  std::string_view bytes_;
  ConversionContext& context_;
  const PiecePasses& passes_;
  const std::vector<PieceBytes> pieces_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::optional<ConvertedPiece>> slots_;
  std::size_t next_ = 1;  // the first piece not claimed yet
  std::size_t stopAt_ = 0;
  std::size_t written_ = 0;  // pieces written out

  std::string out_;
  // Where the bytes go as they are written out instead of into out_: not for a page with
  // a byte-order mark, which only the end tells whether to keep.
  const std::function<bool(std::string_view)>* spill_ = nullptr;
  bool spillFailed_ = false;
  bool anyChange_ = false;
  std::size_t headToDrop_ = 0;  // marks written at the start that a changed page drops
  RewriteCounts rewrites_;      // of the pieces written out
  ConversionLog log_;
  std::vector<std::string> held_;  // the records of the later passes, kept for the end
};

ConvertedPiece PieceRun::convertDecoded(const DecodedPiece& decoded) const {
  ConvertedPiece converted{passes_.convert(decoded.piece()), {}};
  if (converted.outcome.changed) {
    converted.bytes = encodePageText(converted.outcome.body, page_.charset);
    std::u16string().swap(converted.outcome.body);
  }
  return converted;
}

ConvertedPiece PieceRun::convertAt(std::size_t k) const {
  try {
    return convertDecoded(decodePiece(bytes_, page_.charset, pieces_[k]));
  } catch (...) {
    ConvertedPiece failed;
    failed.outcome.failed = true;
    return failed;
  }
}

bool PieceRun::claim(std::size_t& k, bool waitForRoom) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (next_ >= stopAt_) return false;
    if (next_ < written_ + kPiecesAhead || !waitForRoom) break;
    changed_.wait(lock);
  }
  k = next_++;
  return true;
}

void PieceRun::store(std::size_t k, ConvertedPiece converted) {
  std::lock_guard lock(mutex_);
  slots_[k] = std::move(converted);
  changed_.notify_all();
}

void PieceRun::work() {
  for (std::size_t k = 0; claim(k, true);) store(k, convertAt(k));
}

// Until piece k and the one after it are converted, converting the next ones meanwhile.
void PieceRun::waitForPair(std::size_t k) {
  std::unique_lock lock(mutex_);
  const std::size_t after = k + 1 < pieces_.size() ? k + 1 : k;
  while (!slots_[k] || !slots_[after]) {
    if (next_ < stopAt_) {
      const std::size_t mine = next_++;
      lock.unlock();
      store(mine, convertAt(mine));
      lock.lock();
      continue;
    }
    changed_.wait(lock);
  }
}

void PieceRun::stopClaims() {
  std::lock_guard lock(mutex_);
  stopAt_ = next_;
  changed_.notify_all();
}

void PieceRun::writeOut(const PieceBytes& at, ConvertedPiece& converted) {
  PieceOutcome& outcome = converted.outcome;
  if (outcome.changed) {
    emit(converted.bytes);
    std::string().swap(converted.bytes);
    anyChange_ = true;
  } else {
    // A changed UTF-8 page is written without its byte-order mark and without one mark
    // that may follow it, as encoding its whole text writes it; known only at the end.
    if (at.first && page_.byteOrderMark) {
      headToDrop_ = kUtf8ByteOrderMark.size();
      if (bytes_.substr(headToDrop_).starts_with(kUtf8ByteOrderMark)) {
        headToDrop_ += kUtf8ByteOrderMark.size();
      }
    }
    emit(bytes_.substr(at.bodyBegin, at.bodyEnd - at.bodyBegin));
  }
  rewrites_ += outcome.rewrites;
  if (at.first) passes_.startPass(0, log_);
  log_.writeRecords(outcome.records[0]);
  for (std::size_t pass = 1; pass < held_.size(); ++pass) held_[pass] += outcome.records[pass];
  outcome.records.clear();
  std::lock_guard lock(mutex_);
  ++written_;
  // No piece left to decode starts before the next one's text.
  if (!at.last) releasePages(page_.bytes.data(), pieces_[written_].from);
  changed_.notify_all();
}

void PieceRun::emit(std::string_view bytes) {
  if (spill_ == nullptr) {
    out_ += bytes;
  } else if (!spillFailed_ && !(*spill_)(bytes)) {
    spillFailed_ = true;
  }
}

PageConversion PieceRun::finish() {
  for (std::size_t pass = 1; pass < held_.size(); ++pass) {
    passes_.startPass(pass, log_);
    log_.writeRecords(held_[pass]);
  }
  PageConversion converted;
  converted.changed = anyChange_;
  converted.spilled = spill_ != nullptr;
  if (anyChange_) out_.erase(0, headToDrop_);
  converted.bytes = std::move(out_);
  context_.rewrites += rewrites_;
  if (context_.logging) context_.log.append(std::move(log_).entry());
  return converted;
}

std::optional<PageConversion> PieceRun::run(DecodedPiece first) {
  if (spill_ == nullptr) reserveLarge(out_, bytes_.size() + bytes_.size() / 2);
  stopAt_ = pieces_.size();
  std::thread worker;
  try {
    worker = std::thread([this] { work(); });
  } catch (const std::system_error&) {
    // Without a second thread the calling one converts every piece.
  }
  // The worker is stopped and waited for however the writing ends.
  struct Joined {
    PieceRun& run;
    std::thread& worker;
    ~Joined() {
      run.stopClaims();
      if (worker.joinable()) worker.join();
    }
  } joined{*this, worker};
  store(0, convertDecoded(first));
  first = {};
  return writeAll();
}

std::optional<PageConversion> PieceRun::writeAll() {
  std::optional<PieceOutcome> before;  // the last piece written out, without its text
  for (std::size_t k = 0; k < pieces_.size(); ++k) {
    waitForPair(k);
    ConvertedPiece here = std::move(*slots_[k]);
    slots_[k].reset();
    if (here.outcome.failed) return std::nullopt;
    if (k + 1 == pieces_.size() || piecesAgree(here.outcome, slots_[k + 1]->outcome)) {
      writeOut(pieces_[k], here);
      // The caller knows why its file took no more.
      if (spillFailed_) return std::nullopt;
      before = std::move(here.outcome);
      continue;
    }
    // The rest of the page as one piece, which reads and changes its start as this one did.
    stopClaims();
    PieceBytes rest = pieces_[k];
    rest.bodyEnd = rest.to = bytes_.size();
    rest.last = true;
    ConvertedPiece whole = convertDecoded(decodePiece(bytes_, page_.charset, rest));
    if (whole.outcome.failed || (before && !piecesAgree(*before, whole.outcome))) {
      return std::nullopt;
    }
    writeOut(rest, whole);
    if (spillFailed_) return std::nullopt;
    break;
  }
  return finish();
}

}  // namespace

std::optional<PageConversion> convertInPieces(LoadedPage& page, const ConversionSettings& settings,
                                              ConversionContext& context, const PieceSizes& sizes) {
  if (!page.textPending || page.bytes.size() < sizes.pageFrom || !cutsAsBytes(page.charset)) {
    return std::nullopt;
  }
  std::future<bool> marked = scanForMarkingWords(page.bytes, page.charset);
  std::vector<PieceBytes> pieces = cutPieces(page.bytes, page.charset, sizes);
  if (pieces.empty()) return std::nullopt;
  DecodedPiece first = decodePiece(page.bytes, page.charset, pieces.front());
  if (marked.get()) return std::nullopt;
  context.log = {};
  context.rewrites = {};
  context.logPageNote = charsetLogNote(page);
  const auto passes = PiecePasses::plan(settings, context, first.text);
  if (!passes) return std::nullopt;
  PieceRun run(page, settings, context, *passes, std::move(pieces));
  auto converted = run.run(std::move(first));
  // The bytes were given back as the pieces were written.
  std::string().swap(page.bytes);
  if (converted) return converted;
  PageConversion failed;
  failed.fault = std::string(kPassesFailed);
  return failed;
}

}  // namespace yentax
