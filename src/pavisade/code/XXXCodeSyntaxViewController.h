#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/viewcontrollers/XXXCommonViewController.h>

#include <QtCore/QPointer>

class CodeEditor;

// The older screen filled by one code editor; it also shows text files. Main thread.
class PAVISADE_EXPORT XXXCodeSyntaxViewController : public XXXCommonViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXCodeSyntaxViewController(QWidget *parent = nullptr);

    CodeEditor *codeSyntxView();
    // A text becomes the editor's text; other values and no value are ignored.
    void refreshViewWithData(const QVariant &data) override;
    // Shows the file's text. The text is decoded by its byte-order mark, else as
    // UTF-8; a missing file or one that is not valid UTF-8 leaves the editor as it
    // was, with a log line.
    void refreshViewWithFilePath(const QString &path);

protected:
    void awakeFromNib() override;

private:
    QPointer<CodeEditor> m_codeSyntxView;
};
