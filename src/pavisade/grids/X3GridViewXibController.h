#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/grids/X3GridViewController.h>

// A grid screen whose Designer file lays the grid out: start-up only runs the data
// source hook, so the grid keeps the place the file gave it. Main thread.
class PAVISADE_EXPORT X3GridViewXibController : public X3GridViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit X3GridViewXibController(QWidget *parent = nullptr);

    void gridViewConfig() override;
};
