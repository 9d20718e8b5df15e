#include "record/ComputerUser.h"
#include <windows.h>

namespace z5 {

QString computerUserName() {
    wchar_t name[257];
    DWORD size = DWORD(sizeof name / sizeof name[0]);
    if (GetUserNameW(name, &size) && size > 0) return QString::fromWCharArray(name, int(size) - 1);
    return qEnvironmentVariable("USERNAME");
}

} // namespace z5
