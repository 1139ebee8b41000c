#pragma once

#include <kestrune/data/records/DerazUnit.h>
#include <kestrune/keys/ScreenSwitch.h>

#include <pavisade/panels/XXXPanel.h>

#include <bastwick/platform/Error.h>

#include <QtCore/QList>
#include <QtCore/QPointer>
#include <QtCore/QVariantList>

#include <memory>
#include <optional>

class DerazKeyEditorViewController;
class SimpleDBStateManager;
class SimpleDBViewState;
class XXXSpinningProgressIndicator;
QT_BEGIN_NAMESPACE
class QButtonGroup;
class QLabel;
class QPushButton;
QT_END_NAMESPACE

// What the add-key and update-key sheets share: five editors, one per key type, of
// which one is on show (its index is the type code: 0 string, 1 hash, 2 list, 3 set,
// 4 sorted set), a five-segment type control, the type's image, a spinner, and OK and
// Cancel.
//
// OK asks the editor on show for its records. None: the sheet ends with OK and nothing
// is written. Otherwise the records go with the editor's time to live and the type code
// to the current database's save; the sheet stays open, with OK disabled and the spinner
// turning, until the save completes: on success the sheet ends with OK, the saved records
// are announced through the view state and the editor is cleared; on failure a warning
// shows the error and the sheet stays open with everything as it was. Without a current
// database the sheet warns "DataBaseSelectedNil" and stays open. A one-key record
// without a key or without rows is refused with a warning instead of being written as
// nothing. Cancel ends the sheet with 0; the editor keeps its content.
//
// A panel is made once by its opener and begun again for every use: each editor exists
// once per panel and keeps what it holds from one showing to the next, so a cancelled
// add sheet shows its rows again at the next add. Main thread.
class DerazKeyPanel : public XXXPanel
{
    Q_OBJECT

public:
    ~DerazKeyPanel() override;

    // Sets the parent window, prepares the sheet for the unit (the update sheet shows it;
    // the add sheet ignores it) and begins it on the window. The panel stays after its
    // sheet has ended, ready for the next use.
    virtual void beginWithUnit(QWidget *window, const QVariant &unit) = 0;

    qint64 lastViewIndex() const { return m_screens.lastIndex(); }
    DerazKeyEditorViewController *currentViewController() const;
    const QList<DerazKeyEditorViewController *> &controllers() const { return m_controllers; }
    // Shows the editor at the index; nothing when it is already on show.
    void switchViewAtIndex(qint64 index);
    // The type control chose a segment.
    virtual void keyTypeChangeBtnClicked(int segment);

    QWidget *mainView() const { return m_mainView; }
    QLabel *keyTypeImageView() const { return m_keyTypeImageView; }
    XXXSpinningProgressIndicator *loadingIndicator() const { return m_loadingIndicator; }
    QButtonGroup *keyTypeSegments() const { return m_segments; }
    QPushButton *okButton() const { return m_okButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    bool isSaving() const { return m_saving; }

    QWidget *parentWindow() const { return m_parentWindow; }
    void setParentWindow(QWidget *window) { m_parentWindow = window; }
    // The state manager whose current database receives the save (the shared one unless
    // set).
    SimpleDBStateManager *stateManager() const;
    void setStateManager(SimpleDBStateManager *manager) { m_stateManager = manager; }
    std::shared_ptr<SimpleDBViewState> stateDelegate() const;

    void displayActivityView();
    void hideActivityView();

public slots:
    void ok() override;
    void cancel() override;

protected:
    explicit DerazKeyPanel(QWidget *parent = nullptr);

    // Whether the save replaces the keys (the update road of a key that keeps its name
    // and type); the add road by default.
    virtual bool replacesOnSave(const QVariantList &kvs, int type) const;
    // Shows the type's image and checks its segment.
    void showKeyType(int type);
    // Begins the sheet on the window with a completion that does nothing.
    void beginAsSheet(QWidget *window);

    void accept() override { ok(); }
    void reject() override { cancel(); }

private:
    void viewControllersConfig();
    void saveFinished(const std::optional<Bastwick::Error> &error, const QVariantList &kvs);
    void setSaving(bool saving);
    void showWarning(const QString &text);

    Kestrune::ScreenSwitch m_screens{nullptr};
    QList<DerazKeyEditorViewController *> m_controllers;
    QWidget *m_mainView = nullptr;
    QLabel *m_keyTypeImageView = nullptr;
    XXXSpinningProgressIndicator *m_loadingIndicator = nullptr;
    QButtonGroup *m_segments = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPointer<QWidget> m_parentWindow;
    SimpleDBStateManager *m_stateManager = nullptr;
    bool m_saving = false;
};

namespace Kestrune {

// The key of a record of the DerazKV family saved as the type (0: a string row).
QByteArray recordKey(const QVariant &record, int type);

} // namespace Kestrune
