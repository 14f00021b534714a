#include "update/update_check.h"

#include <grp.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "core/user_messages.h"
#include "update/update_config.h"

namespace quillmere {

bool UserIsAdministrator() {
  if (geteuid() == 0) return true;
  const int count = getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  const int got = getgroups(count, groups.data());
  for (int i = 0; i < got; ++i) {
    const group* g = getgrgid(groups[static_cast<std::size_t>(i)]);
    if (!g || !g->gr_name) continue;
    for (const char* admin : {"sudo", "admin", "wheel"})
      if (std::strcmp(g->gr_name, admin) == 0) return true;
  }
  return false;
}

bool UnconfiguredUpdateCheck::CheckForUpdates(bool verbose, UpdateDisplay&,
                                              UserMessages& messages) {
  if (verbose) messages.ShowMessage(NoUpdateServerMessage({}));
  return false;
}

}  // namespace quillmere
