#include <kestrune/chrome/controls/KSTTaskTextField.h>

#include <kestrune/chrome/ChromeFonts.h>
#include <kestrune/chrome/Palette.h>
#include <kestrune/chrome/TBWindow.h>
#include <kestrune/chrome/controls/KSTTaskTextFieldCell.h>

#include <QtCore/QEvent>
#include <QtGui/QAbstractTextDocumentLayout>
#include <QtGui/QDesktopServices>
#include <QtGui/QFocusEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QTextBlock>
#include <QtGui/QTextCursor>
#include <QtGui/QTextLayout>
#include <QtWidgets/QLineEdit>

#include <cmath>
#include <limits>

using namespace Kestrune;

namespace {

// Ends the field's editing when its inner editor loses the focus (a context menu of the
// editor aside).
class EditorFocusWatcher : public QObject
{
public:
    EditorFocusWatcher(QObject *parent, std::function<void()> onFocusOut)
        : QObject(parent)
        , m_onFocusOut(std::move(onFocusOut))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut &&
            static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            m_onFocusOut();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onFocusOut;
};

// The link of a character format: its anchor's target, or an empty text.
QString linkOf(const QTextCharFormat &format)
{
    return format.isAnchor() ? format.anchorHref() : QString();
}

} // namespace

KSTTaskTextField::KSTTaskTextField(QWidget *parent)
    : QWidget(parent)
    , m_editor(new QLineEdit(this))
{
    m_document.setDocumentMargin(0);
    QTextOption option = m_document.defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    m_document.setDefaultTextOption(option);

    m_editor->hide();
    connect(m_editor, &QLineEdit::returnPressed, this, &KSTTaskTextField::textDidEndEditing);
    m_focusWatcher = new EditorFocusWatcher(m_editor, [this] { textDidEndEditing(); });
    m_editor->installEventFilter(m_focusWatcher);

    auto *cell = new KSTTaskTextFieldCell;
    cell->setFont(chromeFont(QString::fromLatin1(kKSTRegularFontName), 15.0));
    cell->setTextColor(zodevarLightTextColor().toQColor());
    cell->setDrawsBackground(false);
    setCell(cell);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
}

KSTTaskTextField::~KSTTaskTextField()
{
    // The editor goes first, without ending an edit into a field that is going away.
    m_editor->removeEventFilter(m_focusWatcher);
    delete m_editor;
}

void KSTTaskTextField::setCell(StyledFieldCell *cell)
{
    if (StyledFieldCell::install(m_cell, cell, this, [this] { applyCell(); }))
        applyCell();
}

void KSTTaskTextField::applyCell()
{
    m_document.setDefaultFont(m_cell->font());
    if (isEditing()) {
        m_cell->setUpFieldEditorAttributes(*m_editor);
        m_editor->setReadOnly(!m_editable);
    }
    updateGeometry();
    update();
}

QTextDocumentFragment KSTTaskTextField::attributedStringValue() const
{
    return QTextDocumentFragment(&m_document);
}

void KSTTaskTextField::setAttributedStringValue(const QTextDocumentFragment &text)
{
    m_document.clear();
    QTextCursor(&m_document).insertFragment(text);
    updateGeometry();
    update();
}

QString KSTTaskTextField::stringValue() const
{
    return m_document.toPlainText();
}

void KSTTaskTextField::setStringValue(const QString &text)
{
    m_document.setPlainText(text);
    updateGeometry();
    update();
}

void KSTTaskTextField::setEditable(bool editable)
{
    m_editable = editable;
    m_editor->setReadOnly(!editable);
}

void KSTTaskTextField::setEditingTextDelegate(EditingTextDelegate delegate)
{
    m_delegate = std::move(delegate);
}

bool KSTTaskTextField::isEditing() const
{
    return !m_editor->isHidden();
}

void KSTTaskTextField::beginEditing()
{
    if (!isEditing()) {
        if (m_delegate) {
            setStringValue(m_delegate(this));
            setEditable(true);
        }
        m_editor->setGeometry(rect());
        m_cell->setUpFieldEditorAttributes(*m_editor);
        m_editor->setReadOnly(!m_editable);
        m_editor->setText(stringValue());
        m_editor->show();
        update();
    }
    m_editor->setFocus(Qt::OtherFocusReason);
    m_editor->end(false);
}

void KSTTaskTextField::textDidEndEditing()
{
    if (!isEditing())
        return;
    // Whatever the editing left stays; an untouched text keeps its links.
    const QString edited = m_editor->text();
    if (edited != stringValue())
        setStringValue(edited);
    m_editor->hide();
    setEditable(false);
    update();
    emit editingFinished();
}

QRectF KSTTaskTextField::textRect() const
{
    return m_cell->adjustedFrameToVerticallyCenterText(QRectF(rect()));
}

std::optional<int> KSTTaskTextField::characterIndexAt(const QPointF &point) const
{
    const QRectF text = textRect();
    // Any height inside the field tests the one line through the field's middle.
    const QPointF inDocument(point.x() - text.left(), height() / 2.0 - text.top());
    if (point.x() < 0 || inDocument.x() < 0 || inDocument.x() >= m_document.idealWidth() || point.y() < 0 ||
        point.y() >= height())
        return std::nullopt;

    // The line through that height, or the nearest one.
    std::optional<int> index;
    qreal nearest = std::numeric_limits<qreal>::max();
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        const QPointF origin = layout->position();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const QRectF lineRect = line.rect().translated(origin);
            const qreal distance = inDocument.y() < lineRect.top()       ? lineRect.top() - inDocument.y()
                                   : inDocument.y() >= lineRect.bottom() ? inDocument.y() - lineRect.bottom()
                                                                         : 0.0;
            if (distance < nearest) {
                nearest = distance;
                index = block.position() +
                        line.xToCursor(inDocument.x() - origin.x(), QTextLine::CursorOnCharacter);
            }
        }
    }
    if (!index || *index >= m_document.characterCount() - 1)
        return std::nullopt;
    return index;
}

QUrl KSTTaskTextField::linkAt(const QPointF &point) const
{
    const std::optional<int> index = characterIndexAt(point);
    if (!index)
        return {};
    QTextCursor cursor(const_cast<QTextDocument *>(&m_document));
    cursor.setPosition(*index + 1);
    const QString link = linkOf(cursor.charFormat());
    if (link.isEmpty())
        return {};
    const QUrl url(link, QUrl::StrictMode);
    return url.isValid() ? url : QUrl();
}

QList<QRectF> KSTTaskTextField::linkRects() const
{
    QList<QRectF> rects;
    const QPointF textOrigin = textRect().topLeft();
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        const QPointF origin = layout->position() + textOrigin;
        // Runs of one link: neighbouring fragments with the same target join.
        const auto addRun = [&](int start, int end) {
            for (int i = 0; i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                const int from = std::max(start, line.textStart());
                const int to = std::min(end, line.textStart() + line.textLength());
                if (from >= to)
                    continue;
                const qreal left = line.cursorToX(from);
                const qreal right = line.cursorToX(to);
                rects << QRectF(std::min(left, right), line.y(), std::abs(right - left), line.height())
                             .translated(origin);
            }
        };
        QString runLink;
        int runStart = 0;
        int runEnd = 0;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString link = linkOf(fragment.charFormat());
            const int start = fragment.position() - block.position();
            if (!runLink.isEmpty() && (link != runLink || start != runEnd))
                addRun(runStart, runEnd);
            if (link.isEmpty()) {
                runLink.clear();
                continue;
            }
            if (link != runLink || start != runEnd)
                runStart = start;
            runLink = link;
            runEnd = start + fragment.length();
        }
        if (!runLink.isEmpty())
            addRun(runStart, runEnd);
    }
    return rects;
}

QSize KSTTaskTextField::sizeHint() const
{
    const QFontMetricsF metrics(m_cell->font());
    return {std::max(100, int(std::ceil(m_document.idealWidth())) + 2),
            int(std::ceil(metrics.ascent() + metrics.descent())) + 6};
}

void KSTTaskTextField::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool focused = window()->focusWidget() == m_editor && windowDrawsAsMain(this);
    m_cell->drawInteriorWithFrame(painter, QRectF(rect()), focused);
    if (isEditing())
        return;
    const QRectF text = textRect();
    painter.setClipRect(rect());
    painter.translate(text.topLeft());
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette();
    if (m_cell->textColor().isValid())
        context.palette.setColor(QPalette::Text, m_cell->textColor());
    m_document.documentLayout()->draw(&painter, context);
}

void KSTTaskTextField::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const QUrl url = linkAt(event->position());
        if (!url.isEmpty()) {
            QDesktopServices::openUrl(url);
            event->accept();
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

void KSTTaskTextField::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    beginEditing();
    event->accept();
}

void KSTTaskTextField::mouseMoveEvent(QMouseEvent *event)
{
    updateCursor(event->position());
    QWidget::mouseMoveEvent(event);
}

void KSTTaskTextField::updateCursor(const QPointF &point)
{
    for (const QRectF &rect : linkRects()) {
        if (rect.contains(point)) {
            setCursor(Qt::PointingHandCursor);
            return;
        }
    }
    unsetCursor();
}

void KSTTaskTextField::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (isEditing()) {
        m_editor->setGeometry(rect());
        m_cell->setUpFieldEditorAttributes(*m_editor);
        m_editor->setReadOnly(!m_editable);
    }
}
