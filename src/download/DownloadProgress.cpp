#include "download/DownloadProgress.h"
#include <algorithm>

namespace z5 {

void DownloadProgress::addObserver(DownloadObserver *observer) {
    if (observer && observer != this &&
        std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void DownloadProgress::removeObserver(DownloadObserver *observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void DownloadProgress::progressShown(bool shown) { each([&](DownloadObserver &o) { o.progressShown(shown); }); }
void DownloadProgress::progressChanged(int value) { each([&](DownloadObserver &o) { o.progressChanged(value); }); }
void DownloadProgress::headerSent(int table, bool sent) { each([&](DownloadObserver &o) { o.headerSent(table, sent); }); }
void DownloadProgress::dataSent(int table, int bytes, bool sent) {
    each([&](DownloadObserver &o) { o.dataSent(table, bytes, sent); });
}
void DownloadProgress::tableRefused(int table, const QString &problem) {
    each([&](DownloadObserver &o) { o.tableRefused(table, problem); });
}
void DownloadProgress::mainWindowEnabled(bool enabled) {
    each([&](DownloadObserver &o) { o.mainWindowEnabled(enabled); });
}
void DownloadProgress::designerHidden() { each([](DownloadObserver &o) { o.designerHidden(); }); }
void DownloadProgress::designerRestored() { each([](DownloadObserver &o) { o.designerRestored(); }); }
void DownloadProgress::portClosed() { each([](DownloadObserver &o) { o.portClosed(); }); }
void DownloadProgress::finished() { each([](DownloadObserver &o) { o.finished(); }); }

} // namespace z5
