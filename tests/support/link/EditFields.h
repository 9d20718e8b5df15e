#pragma once
#include "link/Link.h"
#include "link/Request.h"

namespace z5::testing {

// Sets some of the link's request fields and keeps the rest, through a request
// value as the product code does: tests need values no named request makes.
template <typename Edit>
void editFields(Link &link, Edit edit) {
    RequestFields fields = link.fields();
    edit(fields);
    Request::withFields(fields).applyTo(link);
}

} // namespace z5::testing
