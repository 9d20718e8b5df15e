#pragma once
// The programs a test starts keep their user data (the station record every
// write is entered in) in a folder of the test's own, never in the user's.
#include <QTemporaryDir>

namespace z5::testing {

inline void keepUserDataAside() {
    static QTemporaryDir folder;
    qputenv("XDG_DATA_HOME", folder.path().toLocal8Bit());
}

} // namespace z5::testing
