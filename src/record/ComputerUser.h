#pragma once
#include <QString>

namespace z5 {

// The name the computer knows its user by (the login name), for the record of
// who wrote into a controller; empty when the system tells none.
QString computerUserName();

} // namespace z5
