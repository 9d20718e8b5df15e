#include "record/ComputerUser.h"
#include <pwd.h>
#include <unistd.h>

namespace z5 {

QString computerUserName() {
    // The account the program runs as, whatever the environment claims.
    if (const passwd *entry = getpwuid(geteuid()); entry && entry->pw_name) return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

} // namespace z5
