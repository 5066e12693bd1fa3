// The line list of a query's statement. Changing a line tells the owner (an open query closes).
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class TStringList {
public:
    explicit TStringList(std::function<void()> beforeChange = {});
    int Count() const { return m_lines.size(); }
    const QString& operator[](int index) const { return m_lines.at(index); }
    QString Strings(int index) const { return m_lines.at(index); }
    void SetStrings(int index, const QString& text);  // grows the list with empty lines if needed
    void Add(const QString& text);
    void Clear();
    // Every line followed by CR LF, the last too.
    QString Text() const;
    const QStringList& Lines() const { return m_lines; }

private:
    QStringList m_lines;
    std::function<void()> m_beforeChange;
};
