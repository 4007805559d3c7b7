#pragma once

// Whole-file reads and the one way this program writes a file. A write never touches the
// file it replaces: the bytes go to a new file in the same folder, which is flushed to the
// disk and then renamed over the name, so a reader (or a later run) sees either the old
// file or the whole new one, never a part of either, whatever stops the writer. The one
// exception is a new name among many whose flush the caller makes once at the end
// (deferFlush): there is no old file to keep, and until that flush a crash could cut the
// file short after a rename too, so it is written under its name at once.
//
//   const FileContents page = readWholeFile(path);
//   if (page.status != FileReadStatus::kRead) ...;
//   if (const FileOutcome written = replaceWholeFile(path, bytes); !written) {
//     report(path, written.cause());  // the system's error text
//   }
//
// A name that is a symbolic link is replaced as a name: the link goes, its target is
// never written. An existing file keeps its permission bits; a read-only one is refused.

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "base/open_folder.h"
#include "base/writeback_hint.h"

namespace yentax {

// Faults of this program's own that the system has no error number for.
enum class FileFault {
  kNotRegularFile = 1,  // a FIFO, device, socket or folder where a file is read
  kTooLarge,            // larger than the reader allows
  kChanged,             // the file no longer holds what it held when it was read
  kLinkInTheWay,        // a symbolic link stands where a folder is written into
};
const std::error_category& fileFaultCategory();
inline std::error_code make_error_code(FileFault fault) {
  return {static_cast<int>(fault), fileFaultCategory()};
}

enum class FileReadStatus { kRead, kMissing, kFailed };

struct FileContents {
  FileReadStatus status = FileReadStatus::kFailed;
  std::string bytes;
  std::error_code error;  // why the file could not be read
  mode_t mode = 0;        // the permission bits of the file read
};

// The most a page may have: anything larger is refused unread.
constexpr std::size_t kLargestPage = std::size_t{1} << 30;

// Reads a whole regular file of at most limit bytes; a file that does not exist is told
// apart from one that cannot be read. Anything else at the name (a FIFO, a device) is
// refused without waiting on it, and a larger file without reading it.
FileContents readWholeFile(const std::filesystem::path& path, std::size_t limit = kLargestPage);
// The same for the file of that name in an open folder.
FileContents readFileIn(const OpenFolder& folder, const std::string& name,
                        std::size_t limit = kLargestPage);

// What a file held when it was read, enough to tell whether it still holds the same bytes.
struct ContentStamp {
  std::size_t size = 0;
  std::size_t hash = 0;
  bool operator==(const ContentStamp&) const = default;
};
ContentStamp stampOf(std::string_view bytes);

// The result of a file operation: true when it succeeded, else the error that stopped it.
struct [[nodiscard]] FileOutcome {
  std::error_code error;

  static FileOutcome failed(int errorNumber) {
    return {std::error_code(errorNumber, std::generic_category())};
  }
  explicit operator bool() const { return !error; }
  std::string cause() const { return error.message(); }
};

struct ReplaceOptions {
  // Permission bits for a name that holds no regular file yet (umask applied); the
  // default is what a newly created file gets.
  std::optional<mode_t> newFileMode = std::nullopt;
  // For many files whose originals are kept elsewhere: the new file is put in place
  // without waiting for the disk (where the name holds nothing yet, it is written under
  // the name itself), and the caller calls syncFileSystem once afterwards.
  bool deferFlush = false;
  // The file is replaced only while it still holds these bytes, checked just before the
  // rename; otherwise it is left as it is and the outcome is FileFault::kChanged.
  std::optional<ContentStamp> replacing = std::nullopt;
  // Who a new file belongs to; an existing file keeps its own owner where the system lets
  // the writer give it back.
  std::optional<FileOwner> owner = std::nullopt;
  // Only a name that holds nothing is written; otherwise the outcome is EEXIST, and
  // whatever is at the name is left as it is, even when two writers meet there.
  bool onlyNew = false;
};

// Replaces the file at path with bytes as described above. On failure the new file is
// removed and whatever was at path is left as it was.
FileOutcome replaceWholeFile(const std::filesystem::path& path, std::string_view bytes,
                             const ReplaceOptions& options = {});
// The same for the name in an open folder, which is written whatever is put at the
// folder's own name meanwhile.
FileOutcome replaceFileIn(const OpenFolder& folder, const std::string& name, std::string_view bytes,
                          const ReplaceOptions& options = {});

// The traits a new file takes at a name: those of the file there, or the ones asked for.
struct NewFileTraits {
  mode_t mode = 0;
  std::optional<FileOwner> owner;
};

// A file that replaces the one at a name, written in pieces: the pieces go to a new file
// beside the name, and commit puts it in place the way replaceFileIn does. A write that
// fails, or that is never committed, is removed and leaves the name as it was.
//
//   FileOutcome begun;
//   NewFileWrite write(folder, "page.htm", options, begun);
//   if (begun) begun = write.append(piece);  // as often as there are pieces
//   if (begun) begun = write.commit();
class NewFileWrite {
 public:
  enum class Bytes { kAllAtOnce, kInPieces };
  // Begins the file; outcome tells why it could not be, and then nothing is written.
  NewFileWrite(const OpenFolder& folder, std::string name, ReplaceOptions options,
               FileOutcome& outcome, Bytes coming = Bytes::kInPieces);
  NewFileWrite(const NewFileWrite&) = delete;
  NewFileWrite& operator=(const NewFileWrite&) = delete;
  ~NewFileWrite();

  FileOutcome append(std::string_view bytes);
  FileOutcome commit();

 private:
  void abandon();
  // The mode to create the file with, for the traits chosen, and whether commit must still
  // set the traits' own (modeAtCreation_).
  mode_t decideCreationMode();

  const OpenFolder* folder_;
  std::string name_;
  ReplaceOptions options_;
  NewFileTraits traits_;
  bool modeAtCreation_ = false;
  std::string temporary_;  // the new file's name, or "" when it is written at the name
  int fd_ = -1;
  WritebackHint writeback_;
};

// Writes all the bytes to an open file, through the write call below, retrying where the
// system writes less than it was given.
FileOutcome writeAllTo(int fd, std::string_view bytes);

// Writes everything still cached for the file system holding path to the disk: the end
// of a run of writes made with deferFlush.
FileOutcome syncFileSystem(const std::filesystem::path& path);

// The call through which replaceWholeFile writes each chunk, with write(2)'s contract.
// Tests put a writer here that fails or stops half-way; the previous one is returned.
using WriteCall = std::function<ssize_t(int fd, const char* data, std::size_t size)>;
WriteCall exchangeWriteCall(WriteCall call);

}  // namespace yentax

template <>
struct std::is_error_code_enum<yentax::FileFault> : std::true_type {};
