#pragma once

#include <tolmere/LineIndex.h>
#include <tolmere/TolmereExport.h>

#include <QtCore/QHash>
#include <QtCore/QPointer>
#include <QtGui/QColor>
#include <QtGui/QFont>
#include <QtWidgets/QWidget>

#include <limits>
#include <memory>
#include <optional>

QT_BEGIN_NAMESPACE
class QAbstractScrollArea;
class QDataStream;
QT_END_NAMESPACE

class LineNumberMarker;
class LineNumberTextEdit;
class RulerMarker;

// A vertical ruler beside a text editor that shows the one-based number of every
// visible line, right-aligned against the text, and an image on lines that carry a
// marker (their numbers then take the alternate colour).
//
// Lines are the text blocks the editor shows. The ruler keeps the character index at
// which each line starts; an edit makes the cache stale from the edited character on,
// and the next read rebuilds only the lines from there to the end of the text. After a
// rebuild the ruler takes the width its largest number needs, one event-loop turn later.
//
// Only a LineNumberTextEdit client shows numbers: the editor makes room for the ruler
// beside its text. With any other client view only the background and the separator
// are drawn. Main thread only.
class TOLMERE_EXPORT LineNumberView : public QWidget
{
    Q_OBJECT

public:
    static constexpr qsizetype kNotFound = -1;
    static constexpr qsizetype kCacheValid = std::numeric_limits<qsizetype>::max();

    explicit LineNumberView(QWidget *parent = nullptr);
    // A ruler for the scroll view, whose document view becomes the client view.
    explicit LineNumberView(QAbstractScrollArea *scrollView);
    ~LineNumberView() override;

    QAbstractScrollArea *scrollView() const;
    QWidget *clientView() const { return m_clientView; }
    void setClientView(QWidget *view);

    // The line-start cache, rebuilt first when it is stale.
    const Tolmere::LineStarts &lineIndices();
    qsizetype invalidCharacterIndex() const { return m_invalidCharacterIndex; }
    void invalidateLineIndicesFromCharacterIndex(qsizetype index);
    // An edit of the client's text at editedLocation; kNotFound changes nothing.
    void textStorageDidProcessEditing(qsizetype editedLocation);
    void calculateLines();
    // How many line starts the rebuilds have stored since the ruler was made.
    qsizetype scannedLineCount() const { return m_scannedLineCount; }

    // The zero-based line that holds the character (the cache as it stands when stale).
    qsizetype lineNumberForCharacterIndex(qsizetype index) const;
    // The one-based number of the line whose first text line is under the vertical
    // position (ruler coordinates), or kNotFound.
    qsizetype lineNumberForLocation(double location) const;

    double ruleThickness() const { return m_ruleThickness; }
    void setRuleThickness(double thickness);
    double requiredThickness();
    // The width numbers up to lineCount need in the font: max(22, width of as many
    // "8"s as the count has digits + 10), rounded up.
    static double requiredThickness(qsizetype lineCount, const QFont &font);

    // Markers: LineNumberMarkers are kept by line (one a line); other markers are kept
    // in the ruler's plain list and drawn at their marker location.
    std::shared_ptr<LineNumberMarker> markerAtLine(quint64 lineNumber) const;
    void setMarkers(const QList<std::shared_ptr<RulerMarker>> &markers);
    void addMarker(const std::shared_ptr<RulerMarker> &marker);
    void removeMarker(const std::shared_ptr<RulerMarker> &marker);
    QList<std::shared_ptr<RulerMarker>> markers() const { return m_markers; }

    // Unset values (nullopt, an invalid colour) mean the defaults at the time of use;
    // a background colour left unset draws no background and no separator. Setting a
    // value does not redraw.
    std::optional<QFont> font() const { return m_font; }
    void setFont(const std::optional<QFont> &font) { m_font = font; }
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color) { m_textColor = color; }
    QColor alternateTextColor() const { return m_alternateTextColor; }
    void setAlternateTextColor(const QColor &color) { m_alternateTextColor = color; }
    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor &color) { m_backgroundColor = color; }

    static QFont defaultFont();
    static QColor defaultTextColor();
    static QColor defaultAlternateTextColor();
    QFont effectiveFont() const;

    // The four look values (font, colour, alternate colour, background) in that order.
    // initWithCoder answers false and changes nothing when the stream does not hold
    // them whole; a decoded ruler has no markers.
    void encodeWithCoder(QDataStream &out) const;
    bool initWithCoder(QDataStream &in);

    QSize sizeHint() const override;

signals:
    void ruleThicknessChanged(double thickness);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawHashMarksAndLabels(QPainter &painter);
    LineNumberTextEdit *textView() const;
    QPoint viewportOffset() const;

    Tolmere::LineStarts m_lineIndices;
    qsizetype m_invalidCharacterIndex = 0;
    qsizetype m_scannedLineCount = 0;
    QHash<quint64, std::shared_ptr<LineNumberMarker>> m_linesToMarkers;
    QList<std::shared_ptr<RulerMarker>> m_markers;
    QPointer<QWidget> m_clientView;
    QMetaObject::Connection m_editConnection;
    double m_ruleThickness = 22.0;
    std::optional<QFont> m_font;
    QColor m_textColor;
    QColor m_alternateTextColor;
    QColor m_backgroundColor;
};
