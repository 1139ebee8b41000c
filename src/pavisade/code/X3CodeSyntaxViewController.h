#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <QtCore/QPointer>

class CodeEditor;

// A screen filled by one code editor in the C++ colouring. Main thread.
class PAVISADE_EXPORT X3CodeSyntaxViewController : public X3CommonViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit X3CodeSyntaxViewController(QWidget *parent = nullptr);

    // The editor, made on first use.
    CodeEditor *codeSyntxView();
    // A text becomes the editor's text; other values are ignored. The value must be
    // present (a caller error otherwise).
    void refreshViewWithData(const QVariant &data) override;
    // A non-null text becomes the editor's text.
    void updateContent(const QString &text);

protected:
    void awakeFromNib() override;

private:
    QPointer<CodeEditor> m_codeSyntxView;
};
