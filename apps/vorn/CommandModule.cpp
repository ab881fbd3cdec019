#include "CommandModule.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

namespace vorncli {

const TCommandModule* CommandModule(std::string& Error) {
  static const TCommandModule* module = nullptr;
  static std::string error;
  static bool tried = false;
  if (!tried) {
    tried = true;
    // VORN_COMMAND_MODULE is the module's path relative to the program's directory.
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path = n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string();
    path = path.substr(0, path.find_last_of('/') + 1) + VORN_COMMAND_MODULE;
    if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      using TEntry = const TCommandModule* (*)();
      if (auto entry = reinterpret_cast<TEntry>(dlsym(handle, "VornCommandModule"))) module = entry();
    }
    if (!module) {
      const char* why = dlerror();
      error = "cannot load the command module " + path + (why ? std::string(": ") + why : std::string());
    }
  }
  Error = error;
  return module;
}

}  // namespace vorncli
