#include <pavisade/code/XXXCodeSyntaxViewController.h>

#include <pavisade/code/CodeEditor.h>
#include <pavisade/code/CodeEditorStyles.h>

#include <bastwick/ByteText.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QStringDecoder>

#include <optional>

namespace {

// The file's text: decoded by its byte-order mark when it has one, else as strict
// UTF-8; nothing when it cannot be read or decoded.
std::optional<QString> readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        XXXLogWarning(QStringLiteral("filePath = %1 not readable: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    const std::optional<QByteArray> utf8 = Bastwick::utf8FromMarkedBytes(file.readAll());
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8 ? decoder.decode(*utf8) : QString();
    if (!utf8 || decoder.hasError()) {
        XXXLogWarning(QStringLiteral("filePath = %1 is not text in its encoding; left unchanged").arg(path));
        return std::nullopt;
    }
    return text;
}

} // namespace

XXXCodeSyntaxViewController::XXXCodeSyntaxViewController(QWidget *parent)
    : XXXCommonViewController(parent)
{
}

CodeEditor *XXXCodeSyntaxViewController::codeSyntxView()
{
    if (!m_codeSyntxView) {
        m_codeSyntxView = new CodeEditor(this);
        Pavisade::setObjcStyle(m_codeSyntxView);
    }
    return m_codeSyntxView;
}

void XXXCodeSyntaxViewController::awakeFromNib()
{
    XXXCommonViewController::awakeFromNib();
    codeSyntxView()->embedInView(this);
    Pavisade::setObjcStyle(codeSyntxView());
}

void XXXCodeSyntaxViewController::refreshViewWithData(const QVariant &data)
{
    if (data.metaType().id() == QMetaType::QString)
        codeSyntxView()->setString(data.toString());
}

void XXXCodeSyntaxViewController::refreshViewWithFilePath(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        XXXLog(QStringLiteral(" filePath = %1 not exsit!\n").arg(path));
        return;
    }
    const std::optional<QString> text = readText(path);
    if (!text)
        return;
    codeSyntxView()->setString(QString());
    codeSyntxView()->setString(*text);
}
