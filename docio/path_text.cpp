#include "docio/path_text.h"

namespace yentax {

namespace {

template <typename Char>
using View = std::basic_string_view<Char>;
template <typename Char>
using Text = std::basic_string<Char>;

template <typename Char>
PathParts<Text<Char>> splitPathOf(View<Char> path) {
  const auto slash = path.rfind(Char('/'));
  if (slash == View<Char>::npos) {
    return {Text<Char>(), Text<Char>(path)};
  }
  return {Text<Char>(path.substr(0, slash)), Text<Char>(path.substr(slash + 1))};
}

template <typename Char>
View<Char> nameOf(View<Char> path) {
  const auto slash = path.rfind(Char('/'));
  return slash == View<Char>::npos ? path : path.substr(slash + 1);
}

template <typename Char>
Text<Char> baseNameOf(View<Char> path) {
  const auto name = nameOf(path);
  return Text<Char>(name.substr(0, name.rfind(Char('.'))));
}

template <typename Char>
Text<Char> extensionOf(View<Char> path) {
  const auto name = nameOf(path);
  const auto dot = name.rfind(Char('.'));
  return dot == View<Char>::npos ? Text<Char>() : Text<Char>(name.substr(dot + 1));
}

template <typename Char>
Text<Char> joinPathOf(View<Char> folder, View<Char> name) {
  Text<Char> joined(folder);
  if (joined.empty() || joined.back() != Char('/')) {
    joined += Char('/');
  }
  joined += name;
  return joined;
}

template <typename Char>
Text<Char> joinPathPartsOf(View<Char> first, View<Char> second) {
  while (!first.empty() && first.back() == Char('/')) {
    first.remove_suffix(1);
  }
  while (!second.empty() && second.front() == Char('/')) {
    second.remove_prefix(1);
  }
  Text<Char> joined(first);
  joined += Char('/');
  joined += second;
  return joined;
}

template <typename Char>
Text<Char> cutAtNulOf(View<Char> text) {
  return Text<Char>(text.substr(0, text.find(Char(0))));
}

}  // namespace

PathParts<std::string> splitPath(std::string_view path) { return splitPathOf(path); }
PathParts<std::u16string> splitPath(std::u16string_view path) { return splitPathOf(path); }

std::string fileName(std::string_view path) { return std::string(nameOf(path)); }
std::u16string fileName(std::u16string_view path) { return std::u16string(nameOf(path)); }

std::string baseName(std::string_view path) { return baseNameOf(path); }
std::u16string baseName(std::u16string_view path) { return baseNameOf(path); }

std::string extension(std::string_view path) { return extensionOf(path); }
std::u16string extension(std::u16string_view path) { return extensionOf(path); }

std::string joinPath(std::string_view folder, std::string_view name) {
  return joinPathOf(folder, name);
}
std::u16string joinPath(std::u16string_view folder, std::u16string_view name) {
  return joinPathOf(folder, name);
}

std::string joinPathParts(std::string_view first, std::string_view second) {
  return joinPathPartsOf(first, second);
}
std::u16string joinPathParts(std::u16string_view first, std::u16string_view second) {
  return joinPathPartsOf(first, second);
}

std::string cutAtNul(std::string_view text) { return cutAtNulOf(text); }
std::u16string cutAtNul(std::u16string_view text) { return cutAtNulOf(text); }

}  // namespace yentax
