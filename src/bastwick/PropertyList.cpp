#include <bastwick/PropertyList.h>

#include <QtCore/QDateTime>
#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>
#include <QtCore/QXmlStreamReader>

#include <cmath>
#include <limits>

namespace Bastwick {

namespace {

constexpr int kMaxDepth = 512;

class Reader
{
public:
    explicit Reader(const QByteArray &data)
        : m_xml(data)
    {
    }

    QVariant read()
    {
        if (!nextElement())
            return failed(QStringLiteral("no root element"));
        QVariant root;
        if (m_xml.name() == QLatin1String("plist")) {
            if (!nextElement())
                return failed(QStringLiteral("the plist element holds no value"));
            root = readValue(0);
            if (!root.isValid())
                return QVariant();
            // Nothing may follow the value inside <plist>.
            if (nextElement())
                return failed(QStringLiteral("more than one value in the plist element"));
            if (m_xml.hasError())
                return failed(QString());
        } else {
            root = readValue(0);
            if (!root.isValid())
                return QVariant();
        }
        // Read to the end so that malformed trailing XML is noticed.
        while (!m_xml.atEnd()) {
            m_xml.readNext();
            if (m_xml.isStartElement())
                return failed(QStringLiteral("more than one root value"));
        }
        if (m_xml.hasError())
            return failed(QString());
        return root;
    }

    QString errorString() const
    {
        return QStringLiteral("line %1: %2").arg(m_xml.lineNumber()).arg(m_xml.errorString());
    }

private:
    // Moves to the next start element; false at an end element, at the end of the
    // document or after an error.
    bool nextElement()
    {
        while (!m_xml.atEnd()) {
            m_xml.readNext();
            if (m_xml.isStartElement())
                return true;
            if (m_xml.isEndElement())
                return false;
            if (m_xml.isCharacters() && !m_xml.isWhitespace()) {
                m_xml.raiseError(QStringLiteral("unexpected text \"%1\"").arg(m_xml.text().left(40)));
                return false;
            }
        }
        return false;
    }

    // Marks the read as failed (keeping the first reason) and answers nil.
    QVariant failed(const QString &why)
    {
        if (!m_xml.hasError())
            m_xml.raiseError(why.isEmpty() ? QStringLiteral("unexpected end of the document") : why);
        return QVariant();
    }

    // Reads the text of a leaf element; the reader ends on its end element.
    bool readText(QString *text)
    {
        *text = m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        return !m_xml.hasError();
    }

    // The reader stands on the value's start element.
    QVariant readValue(int depth)
    {
        if (depth > kMaxDepth)
            return failed(QStringLiteral("values nested too deeply"));
        const QString name = m_xml.name().toString();
        if (name == QLatin1String("dict"))
            return readDict(depth);
        if (name == QLatin1String("array"))
            return readArray(depth);

        const bool known = name == QLatin1String("true") || name == QLatin1String("false") ||
                           name == QLatin1String("string") || name == QLatin1String("integer") ||
                           name == QLatin1String("real") || name == QLatin1String("date") ||
                           name == QLatin1String("data");
        if (!known)
            return failed(QStringLiteral("unknown element <%1>").arg(name));
        QString text;
        if (!readText(&text))
            return failed(QString());

        if (name == QLatin1String("true") || name == QLatin1String("false")) {
            if (!text.trimmed().isEmpty())
                return failed(QStringLiteral("<%1> holds text").arg(name));
            return QVariant(name == QLatin1String("true"));
        }
        if (name == QLatin1String("string"))
            return QVariant(text);
        if (name == QLatin1String("integer"))
            return integerValue(text.trimmed());
        if (name == QLatin1String("real"))
            return realValue(text.trimmed());
        if (name == QLatin1String("date")) {
            const QDateTime date = QDateTime::fromString(text.trimmed(), Qt::ISODate);
            if (!date.isValid())
                return failed(QStringLiteral("\"%1\" is not a date").arg(text.left(40)));
            return QVariant(date.toUTC());
        }
        // data
        QByteArray compact;
        compact.reserve(text.size());
        for (QChar c : std::as_const(text)) {
            if (c.isSpace())
                continue;
            if (c.unicode() > 0x7f)
                return failed(QStringLiteral("<data> is not Base64"));
            compact.append(char(c.unicode()));
        }
        auto decoded = QByteArray::fromBase64Encoding(compact, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return failed(QStringLiteral("<data> is not Base64"));
        return QVariant(decoded.decoded);
    }

    QVariant integerValue(const QString &text)
    {
        bool ok = false;
        const qint64 value = text.toLongLong(&ok, 10);
        if (ok)
            return QVariant(value);
        const QString digits = text.startsWith(QLatin1Char('+')) ? text.mid(1) : text;
        const quint64 big = digits.toULongLong(&ok, 10);
        if (ok && !digits.startsWith(QLatin1Char('-')))
            return QVariant(big);
        return failed(QStringLiteral("\"%1\" is not an integer").arg(text.left(40)));
    }

    QVariant realValue(const QString &text)
    {
        const QString lower = text.toLower();
        if (lower == QLatin1String("nan"))
            return QVariant(std::numeric_limits<double>::quiet_NaN());
        if (lower == QLatin1String("inf") || lower == QLatin1String("+inf") ||
            lower == QLatin1String("infinity") || lower == QLatin1String("+infinity"))
            return QVariant(std::numeric_limits<double>::infinity());
        if (lower == QLatin1String("-inf") || lower == QLatin1String("-infinity"))
            return QVariant(-std::numeric_limits<double>::infinity());
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return failed(QStringLiteral("\"%1\" is not a number").arg(text.left(40)));
        return QVariant(value);
    }

    QVariant readDict(int depth)
    {
        QVariantMap map;
        while (nextElement()) {
            if (m_xml.name() != QLatin1String("key"))
                return failed(
                    QStringLiteral("<%1> where a dictionary key belongs").arg(m_xml.name().toString()));
            QString key;
            if (!readText(&key))
                return failed(QString());
            if (!nextElement())
                return failed(QStringLiteral("the key \"%1\" has no value").arg(key.left(40)));
            QVariant value = readValue(depth + 1);
            if (!value.isValid())
                return QVariant();
            map.insert(key, value);
        }
        if (m_xml.hasError() || !m_xml.isEndElement())
            return failed(QString());
        return QVariant(map);
    }

    QVariant readArray(int depth)
    {
        QVariantList list;
        while (nextElement()) {
            QVariant value = readValue(depth + 1);
            if (!value.isValid())
                return QVariant();
            list.append(value);
        }
        if (m_xml.hasError() || !m_xml.isEndElement())
            return failed(QString());
        return QVariant(list);
    }

    QXmlStreamReader m_xml;
};

} // namespace

QVariant propertyListFromData(const QByteArray &data, QString *errorString)
{
    Reader reader(data);
    QVariant root = reader.read();
    if (errorString)
        *errorString = root.isValid() ? QString() : reader.errorString();
    return root;
}

} // namespace Bastwick
