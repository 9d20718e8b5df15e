#include "model/SetJournal.h"
#include "model/AtomicFileSave.h"
#include "model/StagedFile.h"
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace z5 {
namespace {

// A journal is a few lines of text; anything much longer is not one of ours.
constexpr qint64 kMaxJournalBytes = 4 * 1024 * 1024;
const QByteArray kHeader = QByteArrayLiteral("z5 set of files");
const QByteArray kEnd = QByteArrayLiteral("end");

QByteArray field(const QString &path) { return path.isEmpty() ? QByteArrayLiteral("-") : path.toUtf8().toPercentEncoding(); }

QString pathOf(const QByteArray &field) {
    return field == "-" ? QString() : QString::fromUtf8(QByteArray::fromPercentEncoding(field));
}

QString folderOf(const QString &path) { return QFileInfo(path).absolutePath(); }

} // namespace

bool SetJournal::exists(const QString &path) { return !path.isEmpty() && QFileInfo::exists(path); }

QByteArray SetJournal::text() const {
    QByteArray out = kHeader + '\n';
    for (const QString &j : journals_) out += "journal " + field(j) + '\n';
    for (const Member &m : members_) out += "member " + field(m.target) + ' ' + field(m.staged) + ' ' + field(m.aside) + '\n';
    return out + kEnd + '\n';
}

bool SetJournal::write(QString *why) {
    journals_.clear();
    QSet<QString> folders;
    for (const Member &m : members_) {
        const QString folder = folderOf(m.target);
        if (folders.contains(folder)) continue;
        folders.insert(folder);
        journals_ << TemporaryName::beside(m.target, TemporaryName::Kind::Journal, StagedFile::currentProcess());
    }
    const QByteArray content = text();
    // The others first, the primary last: with the primary the set is begun.
    for (int i = int(journals_.size()) - 1; i >= 0; --i) {
        StagedFile file(journals_.at(i));
        if (!file.create(why) || !file.write(content, why) || !file.finish(why) || !file.renameOver(why)) {
            for (int j = int(journals_.size()) - 1; j > i; --j) StagedFile::remove(journals_.at(j));
            journals_.clear();
            return false;
        }
        AtomicFileSave::step();
    }
    syncFolders();
    return true;
}

void SetJournal::syncFolders() const {
    for (const QString &j : journals_) StagedFile::syncFolder(folderOf(j));
}

bool SetJournal::complete(QString *why, std::size_t *refused) {
    for (std::size_t i = 0; i < members_.size(); ++i) {
        const Member &m = members_[i];
        AtomicFileSave::step();
        // A staged file that is gone was renamed already (by a program that stopped).
        if (!exists(m.staged) || StagedFile::moveOver(m.staged, m.target, why)) continue;
        if (!journals_.isEmpty()) StagedFile::remove(journals_.first());
        rollBack();
        for (const QString &j : journals_) StagedFile::remove(j);
        if (refused) *refused = i;
        return false;
    }
    syncFolders();
    for (const Member &m : members_) {
        if (!m.aside.isEmpty()) StagedFile::remove(m.aside);
        AtomicFileSave::step();
    }
    for (int i = int(journals_.size()) - 1; i >= 0; --i) StagedFile::remove(journals_.at(i));
    return true;
}

// Before the primary was written every staged file is there (in a folder without
// a journal a later save may have removed both the staged file and the old one
// kept aside; its target was then never touched). Without its staged file a
// member was replaced: the old file goes back, or a target that was new goes.
void SetJournal::rollBack() {
    for (const Member &m : members_) {
        AtomicFileSave::step();
        if (exists(m.staged)) {
            StagedFile::remove(m.staged);
            if (!m.aside.isEmpty()) StagedFile::remove(m.aside);
        } else if (!m.aside.isEmpty()) {
            if (exists(m.aside)) StagedFile::moveOver(m.aside, m.target, nullptr);
        } else {
            StagedFile::remove(m.target);
        }
    }
    syncFolders();
}

bool SetJournal::recover(const QString &journal) {
    QFile file(journal);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxJournalBytes) return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.size() < 3 || lines.first() != kHeader || lines.at(lines.size() - 2) != kEnd) return false;
    std::vector<Member> members;
    QStringList journals;
    for (const QByteArray &line : lines.mid(1, lines.size() - 3)) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 2 && fields[0] == "journal") journals << pathOf(fields[1]);
        else if (fields.size() == 4 && fields[0] == "member") members.push_back({pathOf(fields[1]), pathOf(fields[2]), pathOf(fields[3])});
        else return false;
    }
    const QString here = QFileInfo(journal).canonicalFilePath();
    if (std::none_of(journals.begin(), journals.end(), [&](const QString &j) { return QFileInfo(j).canonicalFilePath() == here; }))
        return false;
    SetJournal set(std::move(members), journals);
    bool othersThere = true;
    for (const QString &j : journals.mid(1)) othersThere = othersThere && exists(j);
    if (!exists(journals.first())) {
        set.rollBack();
        for (const QString &j : journals) StagedFile::remove(j);
    } else if (othersThere) {
        set.complete(nullptr, nullptr);
    } else {
        for (int i = int(journals.size()) - 1; i >= 0; --i) StagedFile::remove(journals.at(i));
    }
    return true;
}

} // namespace z5
