#include <tolmere/LineNumberView.h>

#include <tolmere/LineNumberMarker.h>
#include <tolmere/LineNumberTextEdit.h>

#include <QtCore/QDataStream>
#include <QtCore/QTimer>
#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>
#include <QtGui/QTextBlock>
#include <QtGui/QTextDocument>
#include <QtWidgets/QApplication>
#include <QtWidgets/QScrollArea>

#include <cmath>

LineNumberView::LineNumberView(QWidget *parent)
    : QWidget(parent)
{
}

LineNumberView::LineNumberView(QAbstractScrollArea *scrollView)
    : QWidget(scrollView)
{
    if (auto *edit = qobject_cast<LineNumberTextEdit *>(scrollView))
        edit->setVerticalRulerView(this);
    // A plain-text editor is its own document view; a scroll area shows its widget.
    if (auto *area = qobject_cast<QScrollArea *>(scrollView))
        setClientView(area->widget());
    else
        setClientView(scrollView);
}

LineNumberView::~LineNumberView() = default;

QAbstractScrollArea *LineNumberView::scrollView() const
{
    for (QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        if (auto *area = qobject_cast<QAbstractScrollArea *>(w))
            return area;
    }
    return nullptr;
}

LineNumberTextEdit *LineNumberView::textView() const
{
    return qobject_cast<LineNumberTextEdit *>(m_clientView.data());
}

void LineNumberView::setClientView(QWidget *view)
{
    if (view != m_clientView)
        disconnect(m_editConnection);
    m_clientView = view;
    if (LineNumberTextEdit *edit = textView()) {
        disconnect(m_editConnection);
        m_editConnection =
            connect(edit->document(), &QTextDocument::contentsChange, this,
                    [this](int position, int, int) { textStorageDidProcessEditing(position); });
        invalidateLineIndicesFromCharacterIndex(0);
    }
}

const Tolmere::LineStarts &LineNumberView::lineIndices()
{
    if (m_invalidCharacterIndex != kCacheValid)
        calculateLines();
    return m_lineIndices;
}

void LineNumberView::invalidateLineIndicesFromCharacterIndex(qsizetype index)
{
    m_invalidCharacterIndex = qMin(m_invalidCharacterIndex, index);
}

void LineNumberView::textStorageDidProcessEditing(qsizetype editedLocation)
{
    if (editedLocation == kNotFound || editedLocation < 0)
        return;
    invalidateLineIndicesFromCharacterIndex(editedLocation);
    update();
}

void LineNumberView::calculateLines()
{
    LineNumberTextEdit *edit = textView();
    if (!edit)
        return;
    QTextDocument *document = edit->document();
    // Lines are the document's blocks: start at the block of the first rescanned line
    // and walk forwards, so an edit costs the lines from the edited one to the end.
    QTextBlock block;
    m_scannedLineCount += Tolmere::rescanLineStarts(m_lineIndices, m_invalidCharacterIndex,
                                                    [&block, document](qsizetype start) -> qsizetype {
                                                        if (!block.isValid())
                                                            block = document->findBlock(int(start));
                                                        block = block.next();
                                                        return block.isValid() ? block.position() : -1;
                                                    });
    m_invalidCharacterIndex = kCacheValid;

    const double required = requiredThickness();
    if (std::abs(m_ruleThickness - required) > 1.0)
        QTimer::singleShot(0, this, [this, required] { setRuleThickness(required); });
}

qsizetype LineNumberView::lineNumberForCharacterIndex(qsizetype index) const
{
    return Tolmere::lineNumberForCharacterIndex(m_lineIndices, index);
}

void LineNumberView::setRuleThickness(double thickness)
{
    if (thickness == m_ruleThickness)
        return;
    m_ruleThickness = thickness;
    updateGeometry();
    emit ruleThicknessChanged(thickness);
}

double LineNumberView::requiredThickness()
{
    return requiredThickness(lineIndices().size(), effectiveFont());
}

double LineNumberView::requiredThickness(qsizetype lineCount, const QFont &font)
{
    int digits = 1;
    for (qsizetype n = lineCount; n >= 10; n /= 10)
        ++digits;
    const double width = QFontMetricsF(font).horizontalAdvance(QString(digits, QLatin1Char('8')));
    return std::ceil(qMax(22.0, width + 10.0));
}

std::shared_ptr<LineNumberMarker> LineNumberView::markerAtLine(quint64 lineNumber) const
{
    return lineNumber == 0 ? nullptr : m_linesToMarkers.value(lineNumber - 1);
}

void LineNumberView::setMarkers(const QList<std::shared_ptr<RulerMarker>> &markers)
{
    m_linesToMarkers.clear();
    m_markers.clear();
    for (const auto &marker : markers)
        addMarker(marker);
}

void LineNumberView::addMarker(const std::shared_ptr<RulerMarker> &marker)
{
    if (!marker)
        return;
    if (auto lineMarker = std::dynamic_pointer_cast<LineNumberMarker>(marker)) {
        // Line number 0 would have no line; it is kept under the first line.
        m_linesToMarkers.insert(lineMarker->lineNumber() ? lineMarker->lineNumber() - 1 : 0, lineMarker);
    } else if (!m_markers.contains(marker)) {
        m_markers.append(marker);
    }
}

void LineNumberView::removeMarker(const std::shared_ptr<RulerMarker> &marker)
{
    if (!marker)
        return;
    if (auto lineMarker = std::dynamic_pointer_cast<LineNumberMarker>(marker))
        m_linesToMarkers.remove(lineMarker->lineNumber() ? lineMarker->lineNumber() - 1 : 0);
    else
        m_markers.removeAll(marker);
}

QFont LineNumberView::defaultFont()
{
    // The small label face of the platform's mini controls: 9 points.
    QFont font = QApplication::font();
    font.setPixelSize(9);
    return font;
}

QColor LineNumberView::defaultTextColor()
{
    return QColor::fromRgbF(0.42f, 0.42f, 0.42f, 1.0f);
}

QColor LineNumberView::defaultAlternateTextColor()
{
    return QColor(Qt::white);
}

QFont LineNumberView::effectiveFont() const
{
    return m_font.value_or(defaultFont());
}

void LineNumberView::encodeWithCoder(QDataStream &out) const
{
    out << bool(m_font.has_value()) << m_font.value_or(QFont()) << m_textColor << m_alternateTextColor
        << m_backgroundColor;
}

bool LineNumberView::initWithCoder(QDataStream &in)
{
    bool hasFont = false;
    QFont font;
    QColor text, alternate, background;
    in >> hasFont >> font >> text >> alternate >> background;
    if (in.status() != QDataStream::Ok)
        return false;
    m_font = hasFont ? std::optional<QFont>(font) : std::nullopt;
    m_textColor = text;
    m_alternateTextColor = alternate;
    m_backgroundColor = background;
    m_linesToMarkers.clear();
    m_markers.clear();
    return true;
}

QSize LineNumberView::sizeHint() const
{
    return QSize(int(std::ceil(m_ruleThickness)), QWidget::sizeHint().height());
}

QPoint LineNumberView::viewportOffset() const
{
    // Where the editor's viewport origin lies in ruler coordinates.
    LineNumberTextEdit *edit = textView();
    return edit ? mapFromGlobal(edit->viewport()->mapToGlobal(QPoint(0, 0))) : QPoint();
}

qsizetype LineNumberView::lineNumberForLocation(double location) const
{
    LineNumberTextEdit *edit = textView();
    if (!edit || m_lineIndices.isEmpty())
        return kNotFound;
    const double y = location - viewportOffset().y();
    const qsizetype position = edit->cursorForPosition(QPoint(0, int(std::floor(y)))).position();
    const qsizetype line = lineNumberForCharacterIndex(position);
    const QRectF rect = edit->rectForCharacterIndex(m_lineIndices.at(line));
    if (rect.top() <= y && y < rect.top() + rect.height())
        return line + 1;
    return kNotFound;
}

void LineNumberView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_backgroundColor.isValid()) {
        painter.fillRect(rect(), m_backgroundColor);
        painter.setPen(QPen(QColor::fromRgbF(0.58f, 0.58f, 0.58f, 1.0f), 1.0));
        const double x = width() - 0.5;
        painter.drawLine(QPointF(x, 0), QPointF(x, height()));
    }
    drawHashMarksAndLabels(painter);
}

void LineNumberView::drawHashMarksAndLabels(QPainter &painter)
{
    LineNumberTextEdit *edit = textView();
    if (!edit)
        return;
    const QWidget *viewport = edit->viewport();
    const Tolmere::LineStarts &starts = lineIndices();
    const QPoint offset = viewportOffset();
    const double width = this->width();

    for (const auto &marker : std::as_const(m_markers)) {
        const QImage image = marker->image();
        const double y = marker->markerLocation() + offset.y() - marker->imageOrigin().y();
        painter.drawImage(QPointF(width - image.width() - 1.0, y), image);
    }

    // The characters on screen, lengthened by one so that a line starting just after
    // the last visible character is drawn too.
    const qsizetype first = edit->cursorForPosition(QPoint(0, 0)).position();
    const qsizetype last =
        edit->cursorForPosition(QPoint(viewport->width() - 1, viewport->height() - 1)).position();
    const qsizetype end = last + 1;

    const QFont font = effectiveFont();
    const QFontMetricsF metrics(font);
    const QColor textColor = m_textColor.isValid() ? m_textColor : defaultTextColor();
    const QColor markerColor =
        m_alternateTextColor.isValid() ? m_alternateTextColor : defaultAlternateTextColor();
    painter.setFont(font);

    for (qsizetype line = lineNumberForCharacterIndex(first); line < starts.size(); ++line) {
        const qsizetype index = starts.at(line);
        if (index >= first && index <= end) {
            const QRectF rect = edit->rectForCharacterIndex(index);
            const double ypos = rect.top() + offset.y();
            const double h = rect.height();
            const std::shared_ptr<LineNumberMarker> marker = m_linesToMarkers.value(quint64(line));
            if (marker) {
                const QImage image = marker->image();
                painter.drawImage(
                    QPointF(width - image.width() - 1.0, ypos + h / 2.0 - marker->imageOrigin().y()), image);
            }
            const QString label = QString::number(line + 1);
            const QSizeF size(metrics.horizontalAdvance(label), metrics.height());
            painter.setPen(marker ? markerColor : textColor);
            painter.drawText(
                QRectF(width - size.width() - 5.0, ypos + (h - size.height()) / 2.0, width - 10.0, h),
                Qt::AlignLeft | Qt::AlignTop, label);
        }
        if (index > end)
            break;
    }
}
