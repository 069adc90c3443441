#include "hardware/discovery/device_access.h"

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorv::opos::discovery {
namespace {

std::string GroupName(gid_t gid) {
    if (const group* entry = getgrgid(gid))
        return entry->gr_name;
    return std::to_string(gid);
}

} // namespace

int SystemAccess(const std::string& path, int mode) {
    return access(path.c_str(), mode) == 0 ? 0 : errno;
}

std::string AccessAdvice(const std::string& node, int mode, const AccessCheck& check) {
    const int error = check(node, mode);
    if (error == 0)
        return {};
    if (error != EACCES && error != EPERM)
        return "ouverture impossible : " + std::string(std::strerror(error));
    struct stat info {};
    const bool known = stat(node.c_str(), &info) == 0;
    const mode_t groupBits = (mode & W_OK ? S_IWGRP : 0) | (mode & R_OK ? S_IRGRP : 0);
    if (known && info.st_gid != 0 && (info.st_mode & groupBits) == groupBits) {
        const std::string group = GroupName(info.st_gid);
        return "accès refusé : ajoutez l'utilisateur au groupe « " + group + " » (sudo usermod -aG " + group +
               " $USER) puis ouvrez une nouvelle session";
    }
    return "accès refusé et aucun groupe n'y donne droit : il manque une règle udev, par exemple dans "
           "/etc/udev/rules.d/99-zorv.rules : KERNEL==\"" +
           node.substr(node.find_last_of('/') + 1) +
           "\", MODE=\"0660\", GROUP=\"plugdev\" (puis sudo udevadm trigger)";
}

} // namespace zorv::opos::discovery
