#include "platform/user_folders.h"

#include <ftw.h>
#include <glib.h>
#include <glib/gstdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/glib_handles.h"

namespace {

struct Folder {
  const char* variable;
  const char* underHome;  // where it is when the variable is not set
};

// The engine and its sandbox look for both folders; the sandbox keeps its
// sockets under the cache folder when there is no runtime folder.
constexpr Folder engineFolders[] = {{"XDG_CACHE_HOME", ".cache"},
                                    {"XDG_DATA_HOME", ".local/share"}};

std::string locationOf(const Folder& folder) {
  const char* value = g_getenv(folder.variable);
  if (value && *value) return value;
  GCharPtr path(g_build_filename(g_get_home_dir(), folder.underHome, nullptr));
  return path.get();
}

// Empty when the folder is there, or can be made, and can be written to.
// The program puts nothing of its own in it; the engine's sandbox may.
std::string whyUnusable(const std::string& location) {
  if (g_mkdir_with_parents(location.c_str(), 0700) != 0) return std::strerror(errno);
  if (!g_file_test(location.c_str(), G_FILE_TEST_IS_DIR)) return std::strerror(ENOTDIR);
  if (g_access(location.c_str(), W_OK | X_OK) != 0) return std::strerror(errno);
  return {};
}

}  // namespace

void PrivateFolders::prepare() {
  for (const Folder& folder : engineFolders) {
    const std::string location = locationOf(folder);
    if (std::string reason = whyUnusable(location); !reason.empty())
      replace(folder.variable, location, reason.c_str());
  }
}

void PrivateFolders::replace(const char* variable, const std::string& unusable,
                             const char* reason) {
  if (folder_.empty()) {
    GError* error = nullptr;
    GCharPtr made(g_dir_make_tmp("vexaline-XXXXXX", &error));
    if (!made) {
      GErrorPtr failure(error);
      std::fprintf(stderr, "vexaline: cannot use %s (%s), nor a private folder: %s\n",
                   unusable.c_str(), reason, failure->message);
      return;
    }
    folder_ = made.get();
  }
  GCharPtr inside(g_build_filename(folder_.c_str(), variable, nullptr));
  g_mkdir(inside.get(), 0700);
  g_setenv(variable, inside.get(), TRUE);
  std::fprintf(stderr, "vexaline: cannot use %s (%s); this run uses the private folder %s\n",
               unusable.c_str(), reason, inside.get());
}

void PrivateFolders::remove() {
  if (folder_.empty()) return;
  // Depth first, and never through a symbolic link out of the folder.
  nftw(
      folder_.c_str(),
      [](const char* path, const struct stat*, int, struct FTW*) { return ::remove(path), 0; }, 16,
      FTW_DEPTH | FTW_PHYS);
  folder_.clear();
}
