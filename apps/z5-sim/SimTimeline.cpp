#include "SimTimeline.h"
#include <QFile>
#include <QJsonDocument>

namespace z5sim {

SimTimeline::~SimTimeline() {
    if (file_) std::fclose(file_);
}

bool SimTimeline::open(const QString &path) {
    file_ = std::fopen(QFile::encodeName(path).constData(), "w");
    return file_ != nullptr;
}

void SimTimeline::write(const QJsonObject &event) {
    if (!file_) return;
    const QByteArray line = QJsonDocument(event).toJson(QJsonDocument::Compact);
    std::fwrite(line.constData(), 1, line.size(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

} // namespace z5sim
