#pragma once

// A command line split into options and operands the way getopt_long splits it: short
// options bundle ("-rq") and take their value attached or as the next word ("-j4",
// "-j 4", "-oout"); long options take it after "=" or as the next word; a long option may
// be shortened to any prefix that names only one; "--" ends the options and "-" alone is
// an operand (standard input). Options and operands may be mixed.
//
//   const OptionRow rows[] = {{.shortName = 'j', .longName = "jobs", .takesValue = true}};
//   const SplitWords split = splitWords(words, rows);
//   if (!split.error.empty()) refuse(split.error);  // "--job: ..." with a suggestion
//   for (const OptionWord& option : split.options) apply(rows[option.row], option.value);

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace yentax {

struct OptionRow {
  char shortName = 0;         // 0: no short form
  std::string_view longName;  // without the leading "--"; "": no long form
  bool takesValue = false;
};

struct OptionWord {
  std::size_t row = 0;  // index into the rows
  std::string name;     // as the messages name it: "--rate" or "-j"
  std::optional<std::string> value;
};

struct SplitWords {
  std::vector<OptionWord> options;  // in the order given
  std::vector<std::string> operands;
  std::string error;  // why the line cannot be split; "" when it can
};

SplitWords splitWords(std::span<const std::string> words, std::span<const OptionRow> rows);

// Appends an option's lines to a help text: its head ("  -j, --jobs N"), then its help,
// each line of it indented to one column.
void appendHelp(std::string& text, std::string head, std::string_view help);

}  // namespace yentax
