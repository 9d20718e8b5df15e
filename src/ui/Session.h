#pragma once
// The windows' session is the application's composition root.
#include "app/Session.h"
