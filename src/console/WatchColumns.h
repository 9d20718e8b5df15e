#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace z5 {

class NumberText;
class ParameterCatalogue;

// The columns of a watched block: the values the console would show for its
// type, each under its pin name, one line per reply. A type that is not known
// gets every value of every row under a plain row and place name.
class WatchColumns {
public:
    WatchColumns(int type, const ParameterCatalogue &catalogue);

    const QStringList &headers() const { return headers_; }
    // The reply's values in the order of the headers, with a point for decimals.
    QStringList values(const QByteArray &reply) const;

private:
    enum class Value { First, Second, Third };
    struct Column {
        int row;
        Value value;
    };
    void add(const QString &header, int row, Value value);

    QStringList headers_;
    std::vector<Column> columns_;
};

} // namespace z5
