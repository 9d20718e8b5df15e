#pragma once
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace z5 {

// The record of a set of files being replaced together, so that a program
// stopped at any moment (killed, a power cut) leaves either the whole old set or,
// once the next save into the folder has finished the work, the whole new set.
//
// Every new file is complete beside its target and every old one kept aside
// under a second name before the journal is written: one journal in the folder
// of each target, the first folder's (the primary) last. From the moment the
// primary is there the set is begun and goes forward; a rename that is refused
// removes the primary first and then puts every old file back. Once all are in
// place the old files, the other journals and the primary go, in that order.
// So whoever finds a journal of a program that is gone can tell what to do:
// - the primary is missing: nothing was begun, or the set was being put back:
//   put back what was replaced and remove the rest;
// - the primary and every other journal are there: finish the renames;
// - the primary is there but another journal is not: the renames were done,
//   only the journals remain to be removed.
class SetJournal {
public:
    struct Member {
        QString target;
        QString staged;
        QString aside;  // empty: there was no old file
    };

    explicit SetJournal(std::vector<Member> members) : members_(std::move(members)) {}

    // Writes the journals; false with the reason, and then none is left.
    bool write(QString *why);
    // Renames every staged file still there over its target and removes the old
    // files and the journals. When a rename is refused, puts the old set back and
    // gives the reason and the index of the member refused.
    bool complete(QString *why, std::size_t *refused);
    // Finishes, or undoes, the set a journal records for a program that is gone.
    // False, leaving everything as it is, when the journal cannot be read or is
    // not where it says it is (its folder was moved).
    static bool recover(const QString &journal);

private:
    SetJournal(std::vector<Member> members, QStringList journals)
        : members_(std::move(members)), journals_(std::move(journals)) {}
    void rollBack();
    void syncFolders() const;
    QByteArray text() const;
    static bool exists(const QString &path);

    std::vector<Member> members_;
    QStringList journals_;  // the primary first
};

} // namespace z5
