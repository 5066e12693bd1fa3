// The line list of a query's statement; tells its owner before any change so an open query closes
// and the next open or execute sends the new text.
#include "TStringList.h"

TStringList::TStringList(std::function<void()> beforeChange) : m_beforeChange(std::move(beforeChange)) {}

void TStringList::SetStrings(int index, const QString& text) {
    if (m_beforeChange)
        m_beforeChange();
    while (m_lines.size() <= index)
        m_lines.append(QString());
    m_lines[index] = text;
}

void TStringList::Add(const QString& text) {
    if (m_beforeChange)
        m_beforeChange();
    m_lines.append(text);
}

void TStringList::Clear() {
    if (m_beforeChange)
        m_beforeChange();
    m_lines.clear();
}

QString TStringList::Text() const {
    QString text;
    for (const QString& line : m_lines)
        text += line + QStringLiteral("\r\n");
    return text;
}
