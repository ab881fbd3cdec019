#include "Commands.h"

#include <cstring>
#include <iterator>

namespace vorncli {

int RunImg(const QStringList& Args);  // ImgCommand.cpp
int RunStrokes(const QStringList& Args);  // StrokesCommand.cpp
int RunRender(const QStringList& Args);  // RenderCommand.cpp
int RunInfo(const QStringList& Args);  // InfoCommand.cpp
int RunResave(const QStringList& Args);  // ResaveCommand.cpp

// Commands are listed here as they are added.
static const Command kCommands[] = {
    {"version", "--version", nullptr},
    {"img", "img encode IN OUT | img decode IN OUT", RunImg},
    {"strokes", "strokes --font FAMILY {--char C | --text TEXT} [--precision N] [--svg FILE]", RunStrokes},
    {"render", "render DOC -o OUT [--dpi N] [--zoom PERCENT]   (OUT: .png and other images, .pdf, .svg)", RunRender},
    {"info", "info DOC", RunInfo},
    {"resave", "resave IN OUT", RunResave},
};

const Command* FindCommand(const char* Name) {
  for (const Command& c : kCommands)
    if (c.Run && std::strcmp(c.Name, Name) == 0) return &c;
  return nullptr;
}

void PrintUsage(std::FILE* Out) {
  std::fprintf(Out, "usage:\n");
  for (const Command& c : kCommands) std::fprintf(Out, "  vorn %s\n", c.Synopsis);
}

int UsageError(const char* CommandName, const QString& Message) {
  std::fprintf(stderr, "vorn %s: %s\n", CommandName, Message.toLocal8Bit().constData());
  for (const Command& c : kCommands)
    if (std::strcmp(c.Name, CommandName) == 0) std::fprintf(stderr, "usage: vorn %s\n", c.Synopsis);
  return 2;
}

int InputError(const QString& Message) {
  std::fprintf(stderr, "vorn: %s\n", Message.toLocal8Bit().constData());
  return 1;
}

}  // namespace vorncli
