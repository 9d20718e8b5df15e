#pragma once
#include "LineSessionProbe.h"
#include "link/LineSession.h"
#include "link/Request.h"

namespace z5::testing {

// Edits some of the fields last on the line and keeps the rest, as if a
// request had left them so: tests need values no named request makes.
template <typename Edit>
void editFields(LineSession &line, Edit edit) {
    RequestFields fields = LineSessionProbe::onLine(line);
    edit(fields);
    LineSessionProbe::setOnLine(line, fields);
}

// Sends the fields last on the line again, completed as the line owner does.
inline bool sendOnLine(LineSession &line) {
    return LineSessionProbe::send(line, Request::withFields(LineSessionProbe::onLine(line)));
}

} // namespace z5::testing
