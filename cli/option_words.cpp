#include "cli/option_words.h"

#include "cli/suggestion.h"

namespace yentax {

namespace {

class Splitter {
 public:
  Splitter(std::span<const std::string> words, std::span<const OptionRow> rows)
      : words_(words), rows_(rows) {}

  SplitWords split() {
    bool onlyOperands = false;
    for (next_ = 0; next_ < words_.size() && result_.error.empty();) {
      const std::string& word = words_[next_++];
      if (onlyOperands || word == "-" || !word.starts_with('-')) {
        result_.operands.push_back(word);
      } else if (word == "--") {
        onlyOperands = true;
      } else if (word.starts_with("--")) {
        takeLong(std::string_view(word).substr(2));
      } else {
        takeShorts(std::string_view(word).substr(1));
      }
    }
    return std::move(result_);
  }

 private:
  void takeLong(std::string_view body) {
    const auto equals = body.find('=');
    const std::string_view name = body.substr(0, equals);
    const auto row = findLong(name);
    if (!row) return;
    OptionWord option{*row, "--" + std::string(rows_[*row].longName), std::nullopt};
    if (equals != std::string_view::npos) {
      if (!rows_[*row].takesValue) {
        result_.error = option.name + ": takes no value";
        return;
      }
      option.value = std::string(body.substr(equals + 1));
    }
    finish(std::move(option));
  }

  void takeShorts(std::string_view letters) {
    for (std::size_t i = 0; i < letters.size() && result_.error.empty(); ++i) {
      const std::string name = std::string("-") + letters[i];
      std::size_t row = 0;
      while (row < rows_.size() && rows_[row].shortName != letters[i]) ++row;
      if (row == rows_.size()) {
        result_.error = name + ": no such option";
        return;
      }
      OptionWord option{row, name, std::nullopt};
      if (rows_[row].takesValue && i + 1 < letters.size()) {
        option.value = std::string(letters.substr(i + 1));
        finish(std::move(option));
        return;
      }
      finish(std::move(option));
    }
  }

  // A value not given with the option is the next word, whatever it looks like.
  void finish(OptionWord option) {
    if (rows_[option.row].takesValue && !option.value) {
      if (next_ >= words_.size()) {
        result_.error = option.name + ": a value is missing";
        return;
      }
      option.value = words_[next_++];
    }
    result_.options.push_back(std::move(option));
  }

  std::optional<std::size_t> findLong(std::string_view name) {
    std::vector<std::size_t> prefixed;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (rows_[i].longName.empty()) continue;
      if (rows_[i].longName == name) return i;
      if (!name.empty() && rows_[i].longName.starts_with(name)) prefixed.push_back(i);
    }
    if (prefixed.size() == 1) return prefixed.front();
    const std::string written = "--" + std::string(name);
    if (prefixed.size() > 1) {
      result_.error = written + ": ambiguous; it could be";
      for (const std::size_t i : prefixed) result_.error += " --" + std::string(rows_[i].longName);
      return std::nullopt;
    }
    std::vector<std::string_view> names;
    for (const OptionRow& row : rows_) {
      if (!row.longName.empty()) names.push_back(row.longName);
    }
    result_.error = written + ": no such option";
    if (const auto meant = closestWord(name, names)) {
      result_.error += "; did you mean --" + std::string(*meant) + "?";
    }
    return std::nullopt;
  }

  std::span<const std::string> words_;
  std::span<const OptionRow> rows_;
  std::size_t next_ = 0;
  SplitWords result_;
};

}  // namespace

SplitWords splitWords(std::span<const std::string> words, std::span<const OptionRow> rows) {
  return Splitter(words, rows).split();
}

void appendHelp(std::string& text, std::string head, std::string_view help) {
  // A short head shares its line with the help's first line, as getopt tools print it.
  constexpr std::size_t kHelpColumn = 22;
  bool first = true;
  while (!help.empty()) {
    const auto end = help.find('\n');
    if (first && head.size() + 2 <= kHelpColumn) {
      text += head + std::string(kHelpColumn - head.size(), ' ');
    } else {
      if (first) text += head + "\n";
      text += std::string(kHelpColumn, ' ');
    }
    first = false;
    text += std::string(help.substr(0, end)) + "\n";
    help = end == std::string_view::npos ? std::string_view() : help.substr(end + 1);
  }
}

}  // namespace yentax
