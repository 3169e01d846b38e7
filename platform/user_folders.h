// The user's cache and data folders, as the engine and its sandbox use them.
#pragma once

#include <string>

// When the user's cache or data folder cannot be used (a regular file in its
// place, no rights), the engine ends the program before any window. This run
// then keeps that folder's contents in a private temporary folder instead,
// says so on the error output, and removes it when the program ends.
class PrivateFolders {
 public:
  PrivateFolders() = default;
  PrivateFolders(const PrivateFolders&) = delete;
  PrivateFolders& operator=(const PrivateFolders&) = delete;
  ~PrivateFolders() { remove(); }

  // Before anything of GLib has read the folders' locations.
  void prepare();
  // Removes the private folder with everything in it, if one was made.
  void remove();

 private:
  void replace(const char* variable, const std::string& unusable, const char* reason);
  std::string folder_;
};
