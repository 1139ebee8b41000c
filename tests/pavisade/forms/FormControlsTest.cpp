#include <pavisade/forms/FormControls.h>

#include <bastwick/ViewGeometry.h>

#include <gtest/gtest.h>

TEST(FormControls, PresetsOfEachControl)
{
    QWidget parent;
    parent.resize(200, 100);
    XXXLabel label(&parent);
    EXPECT_EQ(label.frameShape(), QFrame::NoFrame);
    EXPECT_FALSE(label.autoFillBackground());
    EXPECT_EQ(label.textInteractionFlags(), Qt::NoTextInteraction) << "neither editable nor selectable";
    EXPECT_TRUE(label.alignment() & Qt::AlignRight);

    auto *field = new XXXTextField(&parent);
    auto *combo = new XXXComboBox(&parent);
    auto *popUp = new XXXPopUpButton(&parent);
    EXPECT_FALSE(field->isReadOnly());
    EXPECT_TRUE(field->hasFrame());
    EXPECT_TRUE(field->alignment() & Qt::AlignLeft);
    EXPECT_TRUE(combo->isEditable());
    EXPECT_FALSE(popUp->isEditable());

    // Fields, combo boxes and pop-ups widen with their parent and keep their left edge and height.
    parent.show();
    for (QWidget *w :
         {static_cast<QWidget *>(field), static_cast<QWidget *>(combo), static_cast<QWidget *>(popUp)}) {
        w->setGeometry(10, 10, 100, 22);
    }
    parent.resize(260, 100);
    for (QWidget *w :
         {static_cast<QWidget *>(field), static_cast<QWidget *>(combo), static_cast<QWidget *>(popUp)}) {
        EXPECT_EQ(w->geometry(), QRect(10, 10, 160, 22)) << w->metaObject()->className();
    }

    XXXCheckBox check;
    EXPECT_TRUE(check.text().isEmpty());
}
