#include <corbelan/network/JSONPurify.h>

#include <corbelan/network/JSONText.h>

#include <bastwick/PropertyReflection.h>
#include <bastwick/platform/KeyValue.h>

#include <QtCore/QLocale>
#include <QtCore/QStringList>

namespace {

// One writing pass: the indentation of the level being written and of one level.
struct Pass
{
    QString gap;
    QString indent;

    QString write(const QVariant &value)
    {
        const int type = value.metaType().id();
        if (type == QMetaType::QString)
            return JSONPurify::quote(value.toString());
        if (Bastwick::isNumber(value))
            return JSONPurify::quoteNum(value);
        if (type != QMetaType::QVariantList && type != QMetaType::QVariantMap)
            return QStringLiteral("null");

        const QString mind = gap;
        gap = mind + indent;
        QStringList parts;
        QString open, close;
        if (type == QMetaType::QVariantList) {
            open = QStringLiteral("[");
            close = QStringLiteral("]");
            for (const QVariant &element : value.toList())
                parts.append(write(element));
        } else {
            open = QStringLiteral("{");
            close = QStringLiteral("}");
            const QVariantMap map = value.toMap();
            const QString colon = gap.isEmpty() ? QStringLiteral(":") : QStringLiteral(": ");
            for (auto it = map.cbegin(); it != map.cend(); ++it)
                parts.append(JSONPurify::quote(it.key()) + colon + write(it.value()));
        }
        QString text;
        if (parts.isEmpty())
            text = open + close;
        else if (gap.isEmpty())
            text = open + parts.join(u',') + close;
        else
            text = open + u'\n' + gap + parts.join(QStringLiteral(",\n") + gap) + u'\n' + mind + close;
        gap = mind;
        return text;
    }
};

} // namespace

JSONPurify &JSONPurify::sharedJSONPurify()
{
    static JSONPurify shared;
    return shared;
}

QString JSONPurify::str(const QVariant &value, int spaceNum)
{
    Pass pass;
    pass.indent = QString(qMax(spaceNum, 0), u' ');
    return pass.write(value);
}

QString JSONPurify::stringify(const QString &jsonText, int spaceNum) const
{
    const QVariant value = Corbelan::objectFromJSONText(jsonText);
    if (!value.isValid())
        return QString();
    return str(value, spaceNum);
}

QString JSONPurify::purify(const QString &jsonText) const
{
    if (jsonText.isNull())
        return QString();
    return stringify(jsonText, 4);
}

QString JSONPurify::pretty(const QVariant &value) const
{
    QVariant tree;
    const int type = value.metaType().id();
    if (type == QMetaType::QString)
        tree = Corbelan::objectFromJSONText(value.toString());
    else if (type == QMetaType::QVariantMap || type == QMetaType::QVariantList ||
             type == QMetaType::QVariantHash)
        tree = value;
    else if (Bastwick::metaObjectOf(value))
        tree = Bastwick::objectAsDictionary(value);
    return Corbelan::jsonTextFromVariant(tree, true);
}

QString JSONPurify::quote(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out.append(u'"');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // A surrogate pair is one character and goes out as it is; a lone half is no
        // character at all, so only its escape keeps the output valid text.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out.append(c);
            out.append(text.at(++i));
            continue;
        }
        switch (c.unicode()) {
        case u'"':
            out.append(QLatin1String("\\\""));
            break;
        case u'\\':
            out.append(QLatin1String("\\\\"));
            break;
        case u'\b':
            out.append(QLatin1String("\\b"));
            break;
        case u'\f':
            out.append(QLatin1String("\\f"));
            break;
        case u'\n':
            out.append(QLatin1String("\\n"));
            break;
        case u'\r':
            out.append(QLatin1String("\\r"));
            break;
        case u'\t':
            out.append(QLatin1String("\\t"));
            break;
        default:
            if (c.unicode() < 0x20 || c.isSurrogate())
                out.append(QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0')));
            else
                out.append(c);
        }
    }
    out.append(u'"');
    return out;
}

QString JSONPurify::quoteNum(const QVariant &number)
{
    const int type = number.metaType().id();
    if (type == QMetaType::Bool)
        return number.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (type == QMetaType::Double || type == QMetaType::Float) {
        const double d = number.toDouble();
        if (!qIsFinite(d))
            return QStringLiteral("null");
        return QString::number(d, 'g', QLocale::FloatingPointShortest);
    }
    if (type == QMetaType::ULongLong || type == QMetaType::ULong || type == QMetaType::UInt)
        return QString::number(number.toULongLong());
    return QString::number(number.toLongLong());
}
