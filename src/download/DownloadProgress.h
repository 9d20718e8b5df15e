#pragma once
#include "download/DownloadObserver.h"
#include <vector>

namespace z5 {

// Passes every notification of a write on to the observers that listen, so the
// main window, the console and a log can follow the same write.
class DownloadProgress : public DownloadObserver {
public:
    void addObserver(DownloadObserver *observer);
    void removeObserver(DownloadObserver *observer);

    void progressShown(bool shown) override;
    void progressChanged(int value) override;
    void headerSent(int table, bool sent) override;
    void dataSent(int table, int bytes, bool sent) override;
    void tableRefused(int table, const QString &problem) override;
    void mainWindowEnabled(bool enabled) override;
    void designerHidden() override;
    void designerRestored() override;
    void portClosed() override;
    void finished() override;

private:
    template <typename F>
    void each(F f) {
        // A copy: an observer may stop listening from inside its notification.
        const auto current = observers_;
        for (DownloadObserver *o : current) f(*o);
    }

    std::vector<DownloadObserver *> observers_;
};

} // namespace z5
