#include <bastwick/ByteText.h>

#include <QtCore/QRandomGenerator>

#include <gtest/gtest.h>

using Bastwick::bytesFromText;
using Bastwick::isValidUtf8;
using Bastwick::textFromBytes;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text));
}

// Text from UTF-16 units.
QString units(std::initializer_list<char16_t> list)
{
    QString text;
    for (char16_t u : list)
        text.append(QChar(u));
    return text;
}

// True when the text holds an escaped byte (a low surrogate that is not part of a pair).
bool hasEscape(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isLowSurrogate())
            return true;
    }
    return false;
}

QString escape(uchar byte)
{
    return QString(QChar(char16_t(0xDC00 + byte)));
}

} // namespace

TEST(ByteText, EverySingleByteDecodesToItselfOrItsEscapeAndBack)
{
    for (int b = 0; b < 256; ++b) {
        const QByteArray bytes(1, char(b));
        const QString text = textFromBytes(bytes);
        ASSERT_EQ(text.size(), 1) << b;
        const int expected = b < 0x80 ? b : 0xDC00 + b;
        EXPECT_EQ(text.at(0).unicode(), expected) << b;
        EXPECT_EQ(bytesFromText(text), bytes) << b;
    }
}

TEST(ByteText, ValidSequencesDecodeLikeQtAndInvalidOnesByteByByte)
{
    struct Case
    {
        const char *name;
        const char *bytes;
        QString expected;
        bool valid;
    };
    const QString euro = QString(QChar(0x20AC));
    const Case cases[] = {
        // Boundaries of every sequence length.
        {"U+0080", "c280", units({0x80}), true},
        {"U+07FF", "dfbf", units({0x7FF}), true},
        {"U+0800", "e0a080", units({0x800}), true},
        {"U+D7FF", "ed9fbf", units({0xD7FF}), true},
        {"U+E000", "ee8080", units({0xE000}), true},
        {"U+FFFF", "efbfbf", units({0xFFFF}), true},
        {"U+10000", "f0908080", units({0xD800, 0xDC00}), true},
        {"U+10080 (low half in the escape range)", "f0908280", units({0xD800, 0xDC80}), true},
        {"U+10FFFF", "f48fbfbf", units({0xDBFF, 0xDFFF}), true},
        {"byte order mark", "efbbbf41", units({0xFEFF, u'A'}), true},
        // Overlong forms.
        {"C0 80", "c080", escape(0xC0) + escape(0x80), false},
        {"C1 BF", "c1bf", escape(0xC1) + escape(0xBF), false},
        {"E0 80 80", "e08080", escape(0xE0) + escape(0x80) + escape(0x80), false},
        {"E0 9F BF", "e09fbf", escape(0xE0) + escape(0x9F) + escape(0xBF), false},
        {"F0 80 80 80", "f0808080", escape(0xF0) + escape(0x80) + escape(0x80) + escape(0x80), false},
        {"F0 8F BF BF", "f08fbfbf", escape(0xF0) + escape(0x8F) + escape(0xBF) + escape(0xBF), false},
        // Encoded surrogates.
        {"ED A0 80", "eda080", escape(0xED) + escape(0xA0) + escape(0x80), false},
        {"ED BF BF", "edbfbf", escape(0xED) + escape(0xBF) + escape(0xBF), false},
        {"ED A0 BD ED B8 80 (a pair)", "eda0bdedb880",
         escape(0xED) + escape(0xA0) + escape(0xBD) + escape(0xED) + escape(0xB8) + escape(0x80), false},
        // Above U+10FFFF and bytes that never start a sequence.
        {"F4 90 80 80", "f4908080", escape(0xF4) + escape(0x90) + escape(0x80) + escape(0x80), false},
        {"F5 80 80 80", "f5808080", escape(0xF5) + escape(0x80) + escape(0x80) + escape(0x80), false},
        {"FE FF", "feff", escape(0xFE) + escape(0xFF), false},
        // Truncated sequences, at the end and before other text.
        {"E2 82 at the end", "41e282", u'A' + escape(0xE2) + escape(0x82), false},
        {"E2 82 then A", "e28241", escape(0xE2) + escape(0x82) + u'A', false},
        {"F0 9F 98 then euro", "f09f98e282ac", escape(0xF0) + escape(0x9F) + escape(0x98) + euro, false},
        {"lone continuation", "80", escape(0x80), false},
        {"C2 then C2 A9", "c2c2a9", escape(0xC2) + units({0xA9}), false},
        // Mixed, and ASCII runs long enough for the fast path around a bad byte.
        {"mixed", "61e282ac62ff63", u'a' + euro + u'b' + escape(0xFF) + u'c', false},
        {"long ASCII runs", "303132333435363738ff393031323334353637",
         QStringLiteral("012345678") + escape(0xFF) + QStringLiteral("901234567"), false},
    };
    for (const Case &c : cases) {
        const QByteArray bytes = hex(c.bytes);
        const QString text = textFromBytes(bytes);
        EXPECT_EQ(text, c.expected) << c.name;
        EXPECT_EQ(bytesFromText(text), bytes) << c.name;
        EXPECT_EQ(isValidUtf8(bytes), c.valid) << c.name;
        EXPECT_EQ(Bastwick::textLength(bytes), text.size()) << c.name;
        // QString::fromUtf8 drops a leading byte order mark; the lossless form keeps it.
        if (c.valid && !bytes.startsWith("\xef\xbb\xbf")) {
            EXPECT_EQ(text, QString::fromUtf8(bytes)) << c.name;
        }
    }
}

TEST(ByteText, RandomBytesRoundTripExactly)
{
    QRandomGenerator random(20261210);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes(int(random.bounded(0, 64)), Qt::Uninitialized);
        // Bias towards bytes that start or continue sequences, so that valid and broken
        // multi-byte sequences both occur often.
        for (char &b : bytes) {
            const quint32 pick = random.bounded(4);
            b = char(pick == 0 ? random.bounded(0x80)
                               : (pick == 1 ? 0x80 + random.bounded(0x40) : 0xC0 + random.bounded(0x40)));
        }
        const QString text = textFromBytes(bytes);
        ASSERT_EQ(bytesFromText(text), bytes) << bytes.toHex().constData();
        ASSERT_EQ(isValidUtf8(bytes), !hasEscape(text)) << bytes.toHex().constData();
        ASSERT_EQ(Bastwick::textLength(bytes), text.size()) << bytes.toHex().constData();
    }
}

TEST(ByteText, RandomValidUtf8DecodesExactlyLikeQt)
{
    QRandomGenerator random(4711);
    for (int round = 0; round < 2000; ++round) {
        QString source;
        const int length = int(random.bounded(0, 40));
        for (int i = 0; i < length; ++i) {
            char32_t codePoint = 0;
            switch (random.bounded(4)) {
            case 0:
                codePoint = random.bounded(1, 0x80);
                break;
            case 1:
                codePoint = random.bounded(0x80, 0x800);
                break;
            case 2:
                do {
                    codePoint = random.bounded(0x800, 0x10000);
                } while ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint == 0xFEFF);
                break;
            default:
                codePoint = random.bounded(0x10000, 0x110000);
                break;
            }
            source.append(QString::fromUcs4(&codePoint, 1));
        }
        const QByteArray bytes = source.toUtf8();
        ASSERT_TRUE(isValidUtf8(bytes));
        ASSERT_EQ(textFromBytes(bytes), QString::fromUtf8(bytes)) << bytes.toHex().constData();
        ASSERT_EQ(bytesFromText(source), bytes);
    }
}

TEST(ByteText, EncodingLoneSurrogates)
{
    struct Case
    {
        const char *name;
        QString text;
        const char *bytes;
    };
    const Case cases[] = {
        {"escape DC80", units({0xDC80}), "80"},
        {"escape DCFF", units({0xDCFF}), "ff"},
        {"low surrogate below the escapes", units({0xDC7F}), "efbfbd"},
        {"low surrogate DC00", units({0xDC00}), "efbfbd"},
        {"low surrogate above the escapes", units({0xDD00}), "efbfbd"},
        {"lone high surrogate", units({0xD83D, u'x'}), "efbfbd78"},
        {"high surrogate at the end", units({u'x', 0xD83D}), "78efbfbd"},
        {"pair", units({0xD83D, 0xDE00}), "f09f9880"},
        {"high then escape is a pair", units({0xD800, 0xDC80}), "f0908280"},
        {"escapes between text", units({u'a', 0xDCC3, 0xDCA9, u'b'}), "61c3a962"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(bytesFromText(c.text).toHex(), QByteArray(c.bytes)) << c.name;
}

TEST(ByteText, NullAndEmptyStayApart)
{
    EXPECT_TRUE(textFromBytes(QByteArray()).isNull());
    EXPECT_TRUE(textFromBytes(QByteArray("")).isEmpty());
    EXPECT_FALSE(textFromBytes(QByteArray("")).isNull());
    EXPECT_TRUE(bytesFromText(QString()).isNull());
    EXPECT_TRUE(bytesFromText(QStringLiteral("")).isEmpty());
    EXPECT_FALSE(bytesFromText(QStringLiteral("")).isNull());
    // Embedded zero bytes are bytes like any other.
    const QByteArray withZero("a\0b\xff", 4);
    EXPECT_EQ(textFromBytes(withZero).size(), 4);
    EXPECT_EQ(bytesFromText(textFromBytes(withZero)), withZero);
}

// A byte-order mark names the encoding of a file's bytes; without one they stand as they
// are. Marked text that is not valid in its encoding is refused whole, naming it.
TEST(ByteText, MarkedBytesBecomeUtf8AndBrokenMarkedTextIsRefused)
{
    const QByteArray utf8 = "Zo\xc3\xab \xf0\x9f\x98\x80";
    const struct
    {
        const char *name;
        QByteArray bytes;
        std::optional<QByteArray> expected;
        const char *refusedAs;
    } cases[] = {
        {"no mark, raw bytes kept", QByteArray("a\xff\xfe", 3), QByteArray("a\xff\xfe", 3), nullptr},
        {"no mark, empty", QByteArray(), QByteArray(), nullptr},
        {"UTF-8 mark dropped", "\xef\xbb\xbf" + utf8, utf8, nullptr},
        {"UTF-16LE",
         QByteArray("\xff\xfe"
                    "Z\0o\0\xeb\0 \0\x3d\xd8\x00\xde",
                    14),
         utf8, nullptr},
        {"UTF-16BE", QByteArray("\xfe\xff\0Z\0o\0\xeb\0 \xd8\x3d\xde\x00", 14), utf8, nullptr},
        {"UTF-32LE",
         QByteArray("\xff\xfe\0\0"
                    "Z\0\0\0o\0\0\0\xeb\0\0\0 \0\0\0\x00\xf6\x01\0",
                    24),
         utf8, nullptr},
        {"UTF-32BE", QByteArray("\0\0\xfe\xff\0\0\0Z\0\0\0o\0\0\0\xeb\0\0\0 \0\x01\xf6\x00", 24), utf8,
         nullptr},
        {"UTF-16 cut code unit",
         QByteArray("\xff\xfe"
                    "a\0b",
                    5),
         std::nullopt, "UTF-16LE"},
        {"UTF-16 lone surrogate",
         QByteArray("\xff\xfe"
                    "a\0\x3d\xd8"
                    "b\0",
                    8),
         std::nullopt, "UTF-16LE"},
        {"UTF-32 surrogate", QByteArray("\xff\xfe\0\0\x00\xd8\0\0", 8), std::nullopt, "UTF-32LE"},
        {"UTF-32 past U+10FFFF", QByteArray("\0\0\xfe\xff\0\x11\0\0", 8), std::nullopt, "UTF-32BE"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QString encoding;
        const std::optional<QByteArray> got = Bastwick::utf8FromMarkedBytes(c.bytes, &encoding);
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(encoding, c.refusedAs ? QString::fromLatin1(c.refusedAs) : QString());
    }
}
