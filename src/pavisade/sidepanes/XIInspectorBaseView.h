#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtWidgets/QWidget>

// The base of the inspector's views: one set-up hook, empty here. Each class runs its
// own setupView() from its constructor (after its bases have run theirs), since a
// virtual call from a base constructor would not reach it. Main thread.
class PAVISADE_EXPORT XIInspectorBaseView : public QWidget
{
    Q_OBJECT
public:
    explicit XIInspectorBaseView(QWidget *parent = nullptr);

protected:
    virtual void setupView() {}
};
