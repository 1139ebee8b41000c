#pragma once

#include <QtWidgets/QMainWindow>

// The application's main window. Its body is filled by the root view controller.
class KSTMainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit KSTMainWindow(QWidget *parent = nullptr);
};
