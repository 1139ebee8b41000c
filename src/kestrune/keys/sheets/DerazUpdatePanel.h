#pragma once

#include <kestrune/keys/sheets/DerazKeyPanel.h>

#include <optional>

// The sheet that rewrites an existing key: it shows the key in the editor of its type.
// A save of that key under its own name and type replaces it (the key is deleted and
// written again in one transaction, so removed fields and members are gone and an
// unchanged OK leaves the content as it was, with the time to live the sheet shows); a
// renamed key, or one saved as another type, takes the add road and the old key stays.
// Main thread.
class DerazUpdatePanel : public DerazKeyPanel
{
    Q_OBJECT

public:
    explicit DerazUpdatePanel(QWidget *parent = nullptr);

    // The unit must hold a DerazUnit.
    void beginWithUnit(QWidget *window, const QVariant &unit) override;
    // Shows the unit's editor, filled from it, with the image of its type.
    void showViewWithDataType(const DerazUnit &unit);
    // Clears the editor on show.
    void clearData() override;
    // The key being edited.
    const std::optional<DerazUnit> &unit() const { return m_unit; }

protected:
    bool replacesOnSave(const QVariantList &kvs, int type) const override;

private:
    std::optional<DerazUnit> m_unit;
};
