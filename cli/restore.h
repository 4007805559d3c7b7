#pragma once

// "yentax restore" from its arguments to its exit status: each page put back from one of
// its backups (docio/page_restore.h), or with --list its backups shown.
//
//   if (arguments.front() == "restore") return runRestore(arguments, environment);
//
// Exit status: 0 every page restored or holding that backup already (with --list, every
// page's backups read), 1 a page was not restored, 2 the command line was refused. A
// page found in a folder that has no backup is left alone and is no failure; one named
// on the command line is. Each restored page is one line on out:
//   site/a.htm: restored from a.htm.~1~; the page it replaced is kept as a.htm.~2~
// each page left as it was one line "yentax: PAGE: why" on err.

#include <string>
#include <vector>

#include "cli/run.h"

namespace yentax {

int runRestore(const std::vector<std::string>& arguments, const CliEnvironment& environment);

}  // namespace yentax
