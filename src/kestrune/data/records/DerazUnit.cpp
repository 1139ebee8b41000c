#include <kestrune/data/records/DerazUnit.h>

#include <kestrune/data/records/CellText.h>
#include <kestrune/data/records/DerazCommandLine.h>
#include <kestrune/data/records/DerazReply.h>
#include <kestrune/data/records/DerazType.h>

#include <bastwick/ByteText.h>
#include <bastwick/ValueAdditions.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

const QString DerazUnit::kDescriptionEllipsis = QStringLiteral("\u2026");

namespace {

// The Value column's text of one record, built entry by entry up to its bounds.
class BoundedDescription
{
public:
    // Starts the next entry of a collection (a comma before all but the first); false
    // when the bounds leave no room for it, which marks the text as cut.
    bool beginEntry()
    {
        if (m_entries == DerazUnit::kDescriptionMaxEntries || (m_entries > 0 && room() <= 0)) {
            m_cut = true;
            return false;
        }
        if (m_entries++ > 0)
            appendText(QStringLiteral(","));
        return true;
    }

    // The display form of content bytes (escapes for bytes that are not text, "" for
    // none), as far as it fits. Only a prefix of the bytes is shown: every character of
    // the display form comes from at most four bytes.
    void append(const QByteArray &bytes)
    {
        qsizetype take = qMin(bytes.size(), 4 * (qMax<qsizetype>(room(), 0) + 1));
        // The prefix ends on a character's first byte, so a cut character does not make the
        // whole prefix look like bytes that are not text.
        while (take > 0 && take < bytes.size() && (uchar(bytes.at(take)) & 0xC0) == 0x80)
            --take;
        appendText(Kestrune::displayText(QByteArray::fromRawData(bytes.constData(), take)));
        if (take < bytes.size())
            m_cut = true;
    }

    void appendText(const QString &text)
    {
        qsizetype fits = qMin(text.size(), qMax<qsizetype>(room(), 0));
        // A surrogate pair stays whole or goes whole.
        if (fits > 0 && fits < text.size() && text.at(fits - 1).isHighSurrogate())
            --fits;
        m_text.append(QStringView(text).left(fits));
        if (fits < text.size())
            m_cut = true;
    }

    QString text() const { return m_cut ? m_text + DerazUnit::kDescriptionEllipsis : m_text; }

private:
    qsizetype room() const { return DerazUnit::kDescriptionMaxLength - m_text.size(); }

    QString m_text;
    qsizetype m_entries = 0;
    bool m_cut = false;
};

// A score in the Value column: two decimals and a dash ("1.50-"), the same text as
// printf's %.2f (inf, -inf and nan included), made without a format string since a page
// may show thousands of scores.
QString scoreLabel(double score)
{
    // The largest double takes 309 digits before the point.
    char buffer[330];
    char *end = std::to_chars(buffer, buffer + sizeof buffer - 1, score, std::chars_format::fixed, 2).ptr;
    *end++ = '-';
    return QString::fromLatin1(buffer, end - buffer);
}

} // namespace

QString DerazUnit::keyText() const
{
    return Bastwick::textFromBytes(m_key);
}

void DerazUnit::setKeyText(const QString &text)
{
    m_key = Bastwick::bytesFromText(text);
}

QVariantList DerazUnit::valuesVariant() const
{
    QVariantList out;
    if (m_type == DerazKeyTypeHash || m_type == DerazKeyTypeZSet) {
        out.reserve(m_rows.size());
        for (const DerazKV &row : m_rows)
            out.append(QVariant::fromValue(row));
    } else {
        out.reserve(m_values.size());
        for (const QByteArray &v : m_values)
            out.append(Bastwick::textFromBytes(v));
    }
    return out;
}

void DerazUnit::updateStringValues(const std::optional<QByteArray> &reply)
{
    if (!reply)
        return;
    m_values = QByteArrayList{*reply};
    m_hasValues = true;
    // The length as text: UTF-16 code units of the lossless decoding.
    m_size = Bastwick::textLength(*reply);
    if (m_describesValues)
        m_valuesDescription = describeValues();
}

void DerazUnit::updateHashValues(const std::optional<QByteArrayList> &reply)
{
    m_rows.clear();
    m_hasValues = true;
    if (reply) {
        const QByteArrayList &items = *reply;
        m_rows.reserve(items.size() / 2);
        // A trailing field without a value is dropped.
        for (qsizetype i = 0; i + 1 < items.size(); i += 2)
            m_rows.append(DerazKV(items[i], items[i + 1]));
    }
    m_size = m_rows.size();
    if (m_describesValues)
        m_valuesDescription = describeValues();
}

void DerazUnit::updateListValues(const std::optional<QByteArrayList> &reply)
{
    if (!reply)
        return;
    m_values = *reply;
    m_hasValues = true;
    m_size = m_values.size();
    if (m_describesValues)
        m_valuesDescription = describeValues();
}

void DerazUnit::updateSetValues(const std::optional<QByteArrayList> &reply)
{
    updateListValues(reply);
}

void DerazUnit::updateZSetValues(const std::optional<QByteArrayList> &reply)
{
    m_rows.clear();
    m_hasValues = true;
    if (reply) {
        const QByteArrayList &items = *reply;
        m_rows.reserve((items.size() + 1) / 2);
        for (qsizetype i = 0; i < items.size(); i += 2) {
            DerazKV row;
            row.setValue(items[i]);
            // A member without a following score gets 0.
            row.setScore(i + 1 < items.size() ? scoreFromText(items[i + 1]) : 0.0);
            m_rows.append(row);
        }
    }
    m_size = m_rows.size();
    if (m_describesValues)
        m_valuesDescription = describeValues();
}

static std::optional<QByteArray> replyText(const DerazReply &reply)
{
    if (reply.isText())
        return reply.text();
    if (reply.isInteger())
        return QByteArray::number(reply.integer());
    return std::nullopt;
}

void DerazUnit::updateValues(const DerazReply &reply)
{
    if (m_type == DerazKeyTypeString) {
        updateStringValues(replyText(reply));
        return;
    }
    std::optional<QByteArrayList> items;
    if (reply.isArray()) {
        items.emplace();
        items->reserve(reply.size());
        for (const DerazReply &element : reply.elements()) {
            const std::optional<QByteArray> text = replyText(element);
            if (!text)
                break;
            items->append(*text);
        }
    }
    switch (m_type) {
    case DerazKeyTypeHash:
        updateHashValues(items);
        break;
    case DerazKeyTypeList:
        updateListValues(items);
        break;
    case DerazKeyTypeSet:
        updateSetValues(items);
        break;
    case DerazKeyTypeZSet:
        updateZSetValues(items);
        break;
    default:
        break;
    }
}

QString DerazUnit::describeValues() const
{
    BoundedDescription text;
    switch (m_type) {
    case DerazKeyTypeString:
        if (!m_values.isEmpty())
            text.append(m_values.first());
        break;
    case DerazKeyTypeHash:
        for (const DerazKV &row : m_rows) {
            if (!text.beginEntry())
                break;
            text.append(row.key());
            text.appendText(QStringLiteral("-"));
            text.append(row.value());
        }
        break;
    case DerazKeyTypeList:
    case DerazKeyTypeSet:
        for (const QByteArray &value : m_values) {
            if (!text.beginEntry())
                break;
            text.append(value);
        }
        break;
    case DerazKeyTypeZSet:
        for (const DerazKV &row : m_rows) {
            if (!text.beginEntry())
                break;
            text.appendText(scoreLabel(row.score()));
            text.append(row.value());
        }
        break;
    default:
        break;
    }
    return text.text();
}

QString DerazUnit::typeDescription() const
{
    return DerazType(quint32(m_type));
}

static QVariant scoreVariant(double score)
{
    if (std::isinf(score))
        return score > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    return score;
}

QVariantMap DerazUnit::json() const
{
    QVariantMap d;
    const QString key = keyText();
    switch (m_type) {
    case DerazKeyTypeString:
        if (!m_values.isEmpty())
            d.insert(key, Bastwick::textFromBytes(m_values.first()));
        break;
    case DerazKeyTypeHash: {
        QVariantMap h;
        for (const DerazKV &row : m_rows)
            h.insert(row.keyText(), row.valueText());
        d.insert(key, h);
        break;
    }
    case DerazKeyTypeList:
    case DerazKeyTypeSet: {
        // A record without values gets no entry (the safe setter logs the absent value).
        QVariant elements;
        if (m_hasValues) {
            QVariantList texts;
            texts.reserve(m_values.size());
            for (const QByteArray &v : m_values)
                texts.append(Bastwick::textFromBytes(v));
            elements = texts;
        }
        Bastwick::setSafeValue(d, elements, key);
        break;
    }
    case DerazKeyTypeZSet: {
        // member -> score, so repeated scores lose no member.
        QVariantMap z;
        for (const DerazKV &row : m_rows)
            z.insert(row.valueText(), scoreVariant(row.score()));
        d.insert(key, z);
        break;
    }
    default:
        break;
    }
    return d;
}

QByteArray DerazUnit::jsonText() const
{
    const QVariantMap map = json();
    if (map.isEmpty())
        return {};
    return QJsonDocument(QJsonObject::fromVariantMap(map)).toJson(QJsonDocument::Compact);
}

QByteArray DerazUnit::cmd() const
{
    QByteArray out;
    appendCmd(out);
    return out;
}

void DerazUnit::appendCmd(QByteArray &out) const
{
    using DerazCommandLine::appendLine;
    switch (m_type) {
    case DerazKeyTypeString:
        if (!m_values.isEmpty())
            appendLine(out, {"SET", m_key, m_values.first()});
        break;
    case DerazKeyTypeHash:
        for (const DerazKV &row : m_rows)
            appendLine(out, {"HSET", m_key, row.key(), row.value()});
        break;
    case DerazKeyTypeList:
        for (const QByteArray &v : m_values)
            appendLine(out, {"RPUSH", m_key, v});
        break;
    case DerazKeyTypeSet:
        for (const QByteArray &v : m_values)
            appendLine(out, {"SADD", m_key, v});
        break;
    case DerazKeyTypeZSet:
        for (const DerazKV &row : m_rows)
            appendLine(out, {"ZADD", m_key, scoreText(row.score()), row.value()});
        break;
    default:
        break;
    }
}

namespace {

// The UTF-16 units of textFromBytes(bytes), one at a time, without making the text.
class Utf16Units
{
public:
    Utf16Units(const uchar *p, const uchar *end)
        : m_p(p)
        , m_end(end)
    {
    }

    // The next unit; false at the end.
    bool next(char16_t &unit)
    {
        if (m_low) {
            unit = m_low;
            m_low = 0;
            return true;
        }
        if (m_p == m_end)
            return false;
        const uchar b = *m_p;
        if (b < 0x80) {
            unit = b;
            ++m_p;
            return true;
        }
        char32_t codePoint = 0;
        const int length = Bastwick::utf8SequenceLength(m_p, m_end, &codePoint);
        if (length == 0) {
            unit = char16_t(0xDC00 + b);
            ++m_p;
        } else if (codePoint >= 0x10000) {
            unit = QChar::highSurrogate(codePoint);
            m_low = QChar::lowSurrogate(codePoint);
            m_p += length;
        } else {
            unit = char16_t(codePoint);
            m_p += length;
        }
        return true;
    }

private:
    const uchar *m_p;
    const uchar *m_end;
    char16_t m_low = 0;
};

// textFromBytes(a) < textFromBytes(b), as QString compares them (by UTF-16 unit): the
// order of the names of a JSON object.
bool textLess(QByteArrayView a, QByteArrayView b)
{
    const auto *pa = reinterpret_cast<const uchar *>(a.data());
    const auto *pb = reinterpret_cast<const uchar *>(b.data());
    const qsizetype common = qMin(a.size(), b.size());
    qsizetype i = 0;
    while (i < common && pa[i] == pb[i])
        ++i;
    if (i == a.size() && i == b.size())
        return false;
    // Both decode the same up to a byte that starts a character in both (one that is not a
    // continuation byte, or the start): go back to the last one before the difference. A
    // shorter one that is the other's start in bytes need not be its start in text: its
    // last bytes may be a sequence the other completes.
    qsizetype from = i;
    while (from > 0 && (from == i || (pa[from] & 0xC0) == 0x80))
        --from;
    Utf16Units ua(pa + from, pa + a.size());
    Utf16Units ub(pb + from, pb + b.size());
    for (;;) {
        char16_t x = 0;
        char16_t y = 0;
        const bool hasX = ua.next(x);
        const bool hasY = ub.next(y);
        if (!hasX || !hasY)
            return !hasX && hasY;
        if (x != y)
            return x < y;
    }
}

// "\uXXXX" for one UTF-16 unit, in lower-case hex as QJsonDocument writes it.
void appendUnicodeEscape(QByteArray &out, char16_t unit)
{
    static const char hex[] = "0123456789abcdef";
    const char escape[] = {
        '\\', 'u', hex[unit >> 12], hex[(unit >> 8) & 0xF], hex[(unit >> 4) & 0xF], hex[unit & 0xF]};
    out.append(escape, sizeof escape);
}

// Bytes as a JSON string of their lossless text: the escapes of QJsonDocument's compact
// form (\" \\ \b \f \n \r \t, \u00XX for the other control characters, \udcXX for a
// byte that is not UTF-8), and \u2028, \u2029, \u0085 for the characters that end
// lines for some readers.
void appendJsonString(QByteArray &out, QByteArrayView bytes)
{
    // The bytes that have a two-character escape, and the letters after the backslash.
    static constexpr char kShortEscaped[] = "\"\\\b\f\n\r\t";
    static constexpr char kShortEscapeLetters[] = "\"\\bfnrt";
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *const end = p + bytes.size();
    out.append('"');
    while (p < end) {
        const uchar *run = p;
        while (p < end && *p >= 0x20 && *p < 0x80 && *p != '"' && *p != '\\')
            ++p;
        if (p > run)
            out.append(reinterpret_cast<const char *>(run), p - run);
        if (p == end)
            break;
        const uchar b = *p;
        if (b < 0x80) {
            const auto *shortEscaped =
                static_cast<const char *>(std::memchr(kShortEscaped, b, sizeof kShortEscaped - 1));
            if (shortEscaped) {
                const char escape[] = {'\\', kShortEscapeLetters[shortEscaped - kShortEscaped]};
                out.append(escape, sizeof escape);
            } else {
                appendUnicodeEscape(out, b);
            }
            ++p;
            continue;
        }
        char32_t codePoint = 0;
        const int length = Bastwick::utf8SequenceLength(p, end, &codePoint);
        if (length == 0) {
            // A byte that is not UTF-8 stands alone in the text, as U+DC00 + byte.
            appendUnicodeEscape(out, char16_t(0xDC00 + b));
            ++p;
            continue;
        }
        if (codePoint == 0x2028 || codePoint == 0x2029 || codePoint == 0x85)
            appendUnicodeEscape(out, char16_t(codePoint));
        else
            out.append(reinterpret_cast<const char *>(p), length);
        p += length;
    }
    out.append('"');
}

// A score as a JSON value: a number as QJsonDocument writes one (whole numbers up to 2^53
// as integers, others in the shortest form that reads back), "inf" and "-inf" as texts.
void appendJsonScore(QByteArray &out, double score)
{
    if (std::isinf(score)) {
        out.append(score > 0 ? "\"inf\"" : "\"-inf\"");
        return;
    }
    if (std::isnan(score)) {
        out.append("null");
        return;
    }
    constexpr double kWholeLimit = 9007199254740992.0; // 2^53
    if (score == std::trunc(score) && std::fabs(score) <= kWholeLimit) {
        char buffer[24];
        const char *end = std::to_chars(buffer, buffer + sizeof buffer, qint64(score)).ptr;
        out.append(buffer, end - buffer);
        return;
    }
    out.append(QByteArray::number(score, 'g', QLocale::FloatingPointShortest));
}

// The rows of a hash or sorted set as the members of a JSON object: in the order of their
// names' texts, a repeated name written once with its last value.
template <class Name, class Value>
void appendJsonObject(QByteArray &out, const QList<DerazKV> &rows, Name name, Value appendValue)
{
    out.append('{');
    QVarLengthArray<qsizetype, 16> order(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        order[i] = i;
    // Equal names (equal bytes, as the text is lossless) stay in the order of their rows, so
    // the last of a repeated name comes last; std::sort needs no buffer of its own.
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const QByteArray &x = name(rows[a]);
        const QByteArray &y = name(rows[b]);
        return x == y ? a < b : textLess(x, y);
    });
    bool first = true;
    for (qsizetype k = 0; k < order.size(); ++k) {
        const DerazKV &row = rows[order[k]];
        if (k + 1 < order.size() && name(rows[order[k + 1]]) == name(row))
            continue;
        if (!first)
            out.append(',');
        first = false;
        appendJsonString(out, name(row));
        out.append(':');
        appendValue(out, row);
    }
    out.append('}');
}

} // namespace

void DerazUnit::appendJsonLine(QByteArray &out) const
{
    switch (m_type) {
    case DerazKeyTypeString:
        if (m_values.isEmpty())
            return;
        out.append('{');
        appendJsonString(out, m_key);
        out.append(':');
        appendJsonString(out, m_values.first());
        break;
    case DerazKeyTypeHash:
        out.append('{');
        appendJsonString(out, m_key);
        out.append(':');
        appendJsonObject(
            out, m_rows, [](const DerazKV &row) -> const QByteArray & { return row.key(); },
            [](QByteArray &o, const DerazKV &row) { appendJsonString(o, row.value()); });
        break;
    case DerazKeyTypeList:
    case DerazKeyTypeSet: {
        if (!m_hasValues)
            return;
        out.append('{');
        appendJsonString(out, m_key);
        out.append(":[");
        bool first = true;
        for (const QByteArray &v : m_values) {
            if (!first)
                out.append(',');
            first = false;
            appendJsonString(out, v);
        }
        out.append(']');
        break;
    }
    case DerazKeyTypeZSet:
        out.append('{');
        appendJsonString(out, m_key);
        out.append(':');
        appendJsonObject(
            out, m_rows, [](const DerazKV &row) -> const QByteArray & { return row.value(); },
            [](QByteArray &o, const DerazKV &row) { appendJsonScore(o, row.score()); });
        break;
    default:
        return;
    }
    out.append("}\n");
}

QString DerazUnit::description() const
{
    return Bastwick::format("key(%@) type %d ttl %ld", keyText(), m_type, m_ttl);
}

QByteArray DerazUnit::scoreText(double score)
{
    if (std::isinf(score))
        return score > 0 ? QByteArrayLiteral("inf") : QByteArrayLiteral("-inf");
    if (std::isnan(score))
        return QByteArrayLiteral("0");
    // Whole numbers of up to 15 digits as integers (1700000000123, not 1.700000000123e+12).
    if (score == std::trunc(score) && std::fabs(score) < 1e15)
        return QByteArray::number(qint64(score));
    return QByteArray::number(score, 'g', QLocale::FloatingPointShortest);
}

double DerazUnit::scoreFromText(const QByteArray &text, bool *ok)
{
    // The usual score text ("1.5", "-3") is read as it stands; only one with blanks
    // around it or capitals in it is copied to be trimmed and lowered.
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    const bool plain = (text.isEmpty() || (!blank(text.front()) && !blank(text.back()))) &&
                       std::none_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    const QByteArray t = plain ? text : text.trimmed().toLower();
    double value = 0;
    bool good = true;
    if (t == "inf" || t == "+inf" || t == "infinity" || t == "+infinity") {
        value = std::numeric_limits<double>::infinity();
    } else if (t == "-inf" || t == "-infinity") {
        value = -std::numeric_limits<double>::infinity();
    } else {
        value = t.toDouble(&good);
        if (!good)
            value = 0;
    }
    if (ok)
        *ok = good;
    return value;
}
