// What is read out of a block reply that was accepted: the value table, the
// watch columns, the five operator panel layouts, the setpoint fields and the
// process state. Any bytes after a type byte; nothing may read outside the reply,
// and what is shown must agree with the reply's own values.
#include "console/ConsoleState.h"
#include "console/LiveView.h"
#include "console/NumberText.h"
#include "console/PanelFace.h"
#include "console/ParameterPanel.h"
#include "console/ValueTable.h"
#include "console/WatchColumns.h"
#include "link/BlockReply.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterCatalogue.h"
#include "model/ParameterStore.h"
#include "model/Project.h"
#include <QLocale>
#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1) return 0;
    const int type = data[0] % (z5::BlockType::PLACEHOLDER + 2);
    // An accepted reply has 260 bytes at least; the rest of the input fills it.
    QByteArray reply(reinterpret_cast<const char *>(data + 1), static_cast<int>(size - 1));
    if (reply.size() < 260) reply.append(QByteArray(260 - reply.size(), '\0'));
    const z5::ParameterCatalogue &catalogue = z5::ParameterCatalogue::standard();
    const z5::NumberText numbers(QLocale::c());

    for (int row = 0; row < z5::BlockReply::kRows; ++row) {
        (void)z5::BlockReply::first(reply, row);
        (void)z5::BlockReply::second(reply, row);
        (void)z5::BlockReply::third(reply, row);
    }
    if (z5::BlockReply::processRuns(reply) != (reply.at(z5::BlockReply::kProcessStateOffset) == 1)) std::abort();

    const z5::ValueTable table = z5::ValueTable::fromReply(reply, type, catalogue, numbers);
    if (!z5::ValueTable::drawsTable(type) && !table.isEmpty()) std::abort();
    if (int(table.rows().size()) > z5::ValueTable::kRows + 1) std::abort();

    const z5::WatchColumns columns(type, catalogue);
    if (columns.values(reply).size() != columns.headers().size()) std::abort();

    for (int layout = 0; layout < 5; ++layout) {
        const z5::PanelFace face = z5::PanelFace::fromReply(reply, layout, numbers);
        const std::vector<QPoint> sockets = z5::PanelFace::lampSockets(layout);
        for (const auto &lamp : face.lamps())
            if (std::find(sockets.begin(), sockets.end(), lamp.centre) == sockets.end()) std::abort();
    }

    // The setpoint fields of a setpoint programmer show the reply's second values.
    z5::Project project;
    project.setSchema(z5::Project::TypeRow, 3, z5::BlockType::S_P);
    project.setSchema(z5::Project::InstanceRow, 3, 1);
    z5::ParameterStore store;
    z5::ConsoleState state;
    z5::ParameterPanel panel(store, project, state, catalogue, QLocale::c());
    z5::LiveView view(project, store, panel, catalogue, QLocale::c());
    if (view.beginRead(3, z5::BlockType::S_P) == z5::LiveView::Shows::Setpoints) {
        view.showReply(reply);
        for (int k = 0; k < 8; ++k)
            if (panel.row(z5::LiveView::setpointRow(k)).text.size() > 64) std::abort();
    }
    // Any type the console may be asked about, on any column.
    z5::LiveView any(project, store, panel, catalogue, QLocale::c());
    any.beginRead(data[0] % 100, type);
    any.showReply(reply);
    return 0;
}
