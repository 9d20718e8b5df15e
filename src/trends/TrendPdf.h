#pragma once
#include <QString>

namespace z5 {

struct TrendPage;
struct TrendChannels;

// The printout of one channel group as a landscape A4 PDF, written beside the
// file and renamed over it, so a failure leaves any old file as it was.
class TrendPdf {
public:
    static bool write(const QString &path, const TrendPage &page, int group, const TrendChannels &channels,
                      QString *error = nullptr);
};

} // namespace z5
