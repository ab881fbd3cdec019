#include "CommandTable.h"

#include <cstring>

namespace vorncli {
namespace {

const TCommandInfo kCommands[] = {
    {"version", "--version", false},
    {"img",
     "img encode|decode IN OUT\n"
     "img encode|decode -d OUTDIR [--format EXT] [-j JOBS] IN...",
     false},
    {"strokes", "strokes --font FAMILY {--char C | --text TEXT} [--precision N] [--svg FILE]", true},
    {"render",
     "render DOC -o OUT [--dpi N] [--zoom PERCENT]   (OUT: .png and other images, .pdf, .svg)\n"
     "render -d OUTDIR [--format EXT] [--dpi N] [--zoom PERCENT] [-j JOBS] DOC...\n"
     "render TEMPLATE --merge DATA.csv {-o OUT.pdf | -d OUTDIR [--format EXT] [--name PATTERN]} [...]",
     true},
    {"view", "view DOC [--zoom PERCENT] [--size WxH] [--screenshot OUT.png]", true},
    {"edit", "edit DOC [--zoom PERCENT] [--size WxH] [--screenshot OUT.png]   (Ctrl+S saves)", true},
    {"info", "info DOC", true},
    {"resave", "resave IN OUT", true},
};

void PrintSynopsis(std::FILE* Out, const char* Lead, const TCommandInfo& C) {
  for (const char* line = C.Synopsis; *line;) {
    const char* end = std::strchr(line, '\n');
    const int n = static_cast<int>(end ? end - line : std::strlen(line));
    std::fprintf(Out, "%svorn %.*s\n", Lead, n, line);
    line += n + (end ? 1 : 0);
  }
}

}  // namespace

const TCommandInfo* FindCommandInfo(const char* Name) {
  for (const TCommandInfo& c : kCommands)
    if (std::strcmp(c.Name, Name) == 0) return &c;
  return nullptr;
}

void PrintUsage(std::FILE* Out) {
  std::fprintf(Out, "usage:\n");
  for (const TCommandInfo& c : kCommands) PrintSynopsis(Out, "  ", c);
}

int UsageError(const char* CommandName, const std::string& Message) {
  std::fprintf(stderr, "vorn %s: %s\n", CommandName, Message.c_str());
  if (const TCommandInfo* c = FindCommandInfo(CommandName)) PrintSynopsis(stderr, "usage: ", *c);
  return 2;
}

int InputError(const std::string& Message) {
  std::fprintf(stderr, "vorn: %s\n", Message.c_str());
  return 1;
}

}  // namespace vorncli
