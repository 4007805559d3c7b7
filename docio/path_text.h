#pragma once

#include <string>
#include <string_view>

namespace yentax {

// Pure string work on "/"-separated paths; nothing here touches the file system.
// Every helper comes for UTF-8 paths and for the UTF-16 paths kept in the settings.

template <typename String>
struct PathParts {
  String folder;  // the text before the last "/", "" when there is none
  String name;    // the text after it, or the whole path
};

PathParts<std::string> splitPath(std::string_view path);
PathParts<std::u16string> splitPath(std::u16string_view path);

std::string fileName(std::string_view path);
std::u16string fileName(std::u16string_view path);

// The name without the text from its last "."; a name without "." stays whole.
std::string baseName(std::string_view path);
std::u16string baseName(std::u16string_view path);

// The text after the last "." of the name, "" when the name has none. A dot in a
// folder name never makes an extension.
std::string extension(std::string_view path);
std::u16string extension(std::u16string_view path);

// folder + "/" + name, without doubling a "/" that ends the folder.
std::string joinPath(std::string_view folder, std::string_view name);
std::u16string joinPath(std::u16string_view folder, std::u16string_view name);

// Joins two parts with exactly one "/" between them, whatever slashes they bring.
std::string joinPathParts(std::string_view first, std::string_view second);
std::u16string joinPathParts(std::u16string_view first, std::u16string_view second);

// The text before the first NUL character.
std::string cutAtNul(std::string_view text);
std::u16string cutAtNul(std::u16string_view text);

}  // namespace yentax
