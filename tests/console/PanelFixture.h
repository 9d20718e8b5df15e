#pragma once
// A project with a few blocks, an empty store and a panel over them.
#include "console/ConsoleState.h"
#include "console/ParameterPanel.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterStore.h"
#include "model/Project.h"
#include <gtest/gtest.h>

namespace z5::test {

struct PanelFixture : ::testing::Test {
    Project project;
    ParameterStore store;
    ConsoleState state;
    ParameterPanel panel{store, project, state, ParameterCatalogue::standard(), QLocale::c()};

    void place(int column, int type, int instance) {
        project.setSchema(Project::TypeRow, column, static_cast<std::uint8_t>(type));
        project.setSchema(Project::InstanceRow, column, static_cast<std::uint8_t>(instance));
        project.setSchema(Project::PriorityRow, column, static_cast<std::uint8_t>(column + 1));
    }
    // A right click on the block of a column.
    void layOut(int column) {
        state.selectedColumn = static_cast<std::uint8_t>(column);
        state.selectedType = static_cast<std::uint8_t>(project.blockType(column));
        panel.layOutForSelectedBlock();
    }
    // The user types a whole new text into a field and leaves it.
    ParameterPanel::EditResult type(int row, const QString &text) {
        panel.keyPressed(row);
        const ParameterPanel::EditResult typed = panel.textChanged(row, text);
        return typed.handled ? panel.finishEdit(row) : typed;
    }
    // The user types `text` key by key, each prefix a change, without leaving the field.
    void typeKeys(int row, const QString &text) {
        for (int n = 1; n <= text.size(); ++n) {
            panel.keyPressed(row);
            panel.textChanged(row, text.left(n));
        }
    }
    std::vector<int> visibleRows() const {
        std::vector<int> out;
        for (int r = 0; r < ParameterPanel::kRows; ++r)
            if (panel.row(r).visible) out.push_back(r);
        return out;
    }
};

} // namespace z5::test
