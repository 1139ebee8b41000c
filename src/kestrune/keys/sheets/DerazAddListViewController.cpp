#include <kestrune/keys/sheets/DerazAddListViewController.h>

DerazAddListViewController::DerazAddListViewController(QWidget *parent)
    : DerazAddListXibViewController(parent)
{
}
