// The window's other number fields, as typed: the trend page dialog, the X and Y
// of an element dialog and the colour threshold. The page is always 1..250; a
// coordinate is left as typed or pulled into its range; a threshold is stored
// only as the byte typed.
#include "screen/ElementBounds.h"
#include "screen/ScreenElement.h"
#include "screen/ScreenModel.h"
#include "trends/TrendPage.h"
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QString typed = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<int>(size));

    const int page = z5::pageNumberFromText(typed);
    if (page < 1 || page > 250) std::abort();
    bool whole = false;
    const long long asNumber = typed.trimmed().toLongLong(&whole);
    if (whole && page != z5::clampPageNumber(asNumber)) std::abort();

    for (const z5::ControlKind kind : {z5::ControlKind::AlarmMarker, z5::ControlKind::Level1Picture,
                                       z5::ControlKind::Level2Picture, z5::ControlKind::GaugePicture,
                                       z5::ControlKind::NumberBox, z5::ControlKind::AlarmText}) {
        for (int digits = 1; digits <= 6; ++digits) {
            const z5::ElementBounds::Range ranges[] = {z5::ElementBounds::dialogXRange(kind, digits),
                                                       z5::ElementBounds::dialogYRange(kind)};
            for (const auto &range : ranges) {
                const QString shown = z5::ElementBounds::corrected(typed, range);
                int v = 0;
                const bool number = z5::ElementBounds::parse(typed, &v);
                if (!number && shown != typed) std::abort();
                if (number && range.contains(v) && shown != typed) std::abort();
                if (number && !range.contains(v) && shown != QString::number(range.clamp(v))) std::abort();
            }
        }
    }

    z5::ScreenModel model;
    bool ok = false;
    const int threshold = typed.trimmed().toInt(&ok);
    const int before = model.colorThreshold();
    const bool stored = ok && model.setColorThreshold(threshold);
    if (stored != (ok && threshold >= 0 && threshold <= 255)) std::abort();
    if (model.colorThreshold() != (stored ? threshold : before)) std::abort();
    return 0;
}
