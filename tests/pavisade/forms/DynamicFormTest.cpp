#include <pavisade/forms/FormControls.h>
#include <pavisade/forms/XXXForm.h>

#include "support/LogCapture.h"

#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

class Profile : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString host READ host WRITE setHost NOTIFY hostChanged)
    Q_PROPERTY(int autoLogin MEMBER autoLogin)
    Q_PROPERTY(QString scheme MEMBER scheme)
    Q_PROPERTY(qint64 port MEMBER port)
public:
    QString host() const { return m_host; }
    void setHost(const QString &host)
    {
        if (host == m_host)
            return;
        m_host = host;
        emit hostChanged();
    }
    int autoLogin = 0;
    QString scheme;
    qint64 port = 0;

signals:
    void hostChanged();

private:
    QString m_host;
};

class CountingForm : public XXXForm
{
public:
    int notified = 0;
    void changedNotify() override { ++notified; }
};

QVariantMap row(const QString &title, const QString &type, const QString &identifier,
                const QVariant &value = {}, const QStringList &items = {})
{
    QVariantMap map{{"title", title}, {"type", type}, {"identifier", identifier}, {"items", items}};
    if (value.isValid())
        map.insert("value", value);
    return map;
}

// Forward: shown text to a stored number; reverse: stored number to shown text.
std::shared_ptr<Corbelan::ValueTransformer> portTransformer()
{
    return std::make_shared<Corbelan::ValueTransformer>(
        QMetaType::fromType<qint64>(),
        [](const QVariant &v) { return QVariant(v.toString().toLongLong() * 10); },
        [](const QVariant &v) { return QVariant(QStringLiteral("p%1").arg(v.toLongLong())); });
}

} // namespace

TEST(DynamicForm, RowsAndControlsFollowTheFormLayoutRules)
{
    XXXForm form;
    form.resize(400, 300);
    form.updateWithData(QVariantList{
        row("a", XXXFormTypeTextField, "a"),        // 0: 2 above its title
        row("b", XXXFormTypeComboBox, "b"),         // 1
        row("c", XXXFormTypeTextField, "c"),        // 2: level with its title after a combo box
        row("d", XXXFormTypeLabel, "d"),            // 3: title only, still a row
        row("e", XXXFormTypeTextField, "e"),        // 4: still after the combo box
        row("f", XXXFormTypeCheckBox, "f"),         // 5: 2 above the row
        row("g", XXXFormTypeTextField, "g"),        // 6: back to 20 r
        row("h", XXXFormTypeRadioBox, "h"),         // 7: title only
        row("i", XXXFormTypePopUpButton, "i"),      // 8
        row("j", QStringLiteral("textfield"), "j"), // 9: types are case-sensitive: title only
    });
    struct Expect
    {
        QString identifier;
        QRect frame;
    };
    const QList<Expect> expected = {
        {"a", {125, 0, 273, 18}},   {"b", {125, 20, 273, 20}}, {"c", {125, 42, 273, 18}},
        {"e", {125, 82, 273, 18}},  {"f", {125, 98, 100, 20}}, {"g", {125, 120, 273, 18}},
        {"i", {125, 160, 273, 20}},
    };
    for (const Expect &e : expected) {
        auto *control = form.findChild<QWidget *>(e.identifier);
        ASSERT_NE(control, nullptr) << e.identifier.toStdString();
        EXPECT_EQ(control->geometry(), e.frame) << e.identifier.toStdString();
    }
    for (const QString &titleOnly : {"d", "h", "j"})
        EXPECT_EQ(form.findChild<QWidget *>(titleOnly), nullptr) << titleOnly.toStdString();
    const QList<XXXLabel *> titles = form.findChildren<XXXLabel *>();
    ASSERT_EQ(titles.size(), 10);
    EXPECT_EQ(titles.at(9)->geometry(), QRect(0, 182, 120, 18));
    EXPECT_EQ(titles.at(9)->alignment() & Qt::AlignRight, Qt::AlignRight);

    // Full-width controls follow the form's width less 127, never below 0.
    form.show();
    form.resize(227, 300);
    EXPECT_EQ(form.findChild<QWidget *>("a")->width(), 100);
    EXPECT_EQ(form.findChild<QWidget *>("f")->width(), 100) << "the check box keeps its width";
    form.resize(90, 300);
    EXPECT_EQ(form.findChild<QWidget *>("i")->width(), 0);
}

TEST(DynamicForm, FactoryReservesTwentyTwoPerRow)
{
    Profile profile;
    XXXForm *form = XXXForm::defaultFormWithRowNums(3, &profile);
    EXPECT_EQ(form->geometry(), QRect(0, 0, 100, 66));
    EXPECT_EQ(form->bindObj(), &profile);
    delete form;
}

TEST(DynamicForm, EditsAreTransformedWrittenAndAnnounced)
{
    Profile profile;
    CountingForm form;
    form.resize(400, 200);
    form.setBindObj(&profile);
    form.registerTransformer(portTransformer(), QStringLiteral("port"));
    form.updateWithData(QVariantList{
        row("Host", XXXFormTypeTextField, "host", "db.local"),
        row("Port", XXXFormTypeTextField, "port", 6379), row("Auto", XXXFormTypeCheckBox, "autoLogin", 1),
        row("Scheme", XXXFormTypePopUpButton, "scheme", "deraz", {"sqlite", "deraz"}),
        row("Missing", XXXFormTypeTextField, "noSuchKey")});

    // Initial values are shown through the reverse transformation.
    auto *port = form.findChild<QLineEdit *>("port");
    EXPECT_EQ(port->text(), QStringLiteral("p6379"));
    EXPECT_EQ(form.findChild<XXXPopUpButton *>("scheme")->currentText(), QStringLiteral("deraz"));
    auto *check = form.findChild<XXXCheckBox *>("autoLogin");
    EXPECT_TRUE(check->isChecked());

    // A check box writes 0 and 1.
    check->click();
    EXPECT_EQ(profile.autoLogin, 0);
    check->click();
    EXPECT_EQ(profile.autoLogin, 1);
    EXPECT_EQ(form.notified, 2);

    // Typed text is written as it is typed, forward-transformed.
    port->clear();
    QTest::keyClicks(port, QStringLiteral("12"));
    EXPECT_EQ(profile.port, 120);
    auto *host = form.findChild<QLineEdit *>("host");
    host->clear();
    QTest::keyClicks(host, QStringLiteral("h2"));
    EXPECT_EQ(profile.host(), QStringLiteral("h2"));

    auto *scheme = form.findChild<XXXPopUpButton *>("scheme");
    scheme->setCurrentIndex(0);
    emit scheme->activated(0);
    EXPECT_EQ(profile.scheme, QStringLiteral("sqlite"));

    // A key the object does not have is ignored.
    const int before = form.notified;
    QTest::keyClicks(form.findChild<QLineEdit *>("noSuchKey"), QStringLiteral("x"));
    EXPECT_GT(form.notified, before);
    EXPECT_EQ(profile.dynamicPropertyNames().size(), 0);

    EXPECT_EQ(form.bindDataMap().value("Host").toString(), QStringLiteral("db.local"));
    EXPECT_EQ(form.bindDataMap().value("Port").toString(), QStringLiteral("6379"));
}

TEST(DynamicForm, WithoutABoundObjectEditsAreOnlyAnnounced)
{
    CountingForm form;
    form.resize(300, 100);
    form.updateWithData(row("Auto", XXXFormTypeCheckBox, "autoLogin"));
    EXPECT_EQ(form.items().size(), 1) << "one map is one row";
    form.findChild<XXXCheckBox *>("autoLogin")->click();
    EXPECT_EQ(form.notified, 1);
}

TEST(DynamicForm, RowLookUps)
{
    XXXForm form;
    form.updateWithData(
        QVariantList{row("A", XXXFormTypeTextField, "same"), row("B", XXXFormTypeTextField, "same"),
                     QVariantMap{{"type", XXXFormTypeTextField}, {"identifier", "untitled"}}});
    EXPECT_EQ(form.itemOfIdentifier("same").toMap().value("title").toString(), QStringLiteral("A"));
    EXPECT_FALSE(form.itemOfIdentifier("none").isValid());
    EXPECT_EQ(form.itemAtRowIndex(2).toMap().value("identifier").toString(), QStringLiteral("untitled"));
    // A row without a title is stored under "".
    EXPECT_TRUE(form.bindDataMap().contains(QString()));
    EXPECT_DEATH(form.itemAtRowIndex(3), "index<self.items.count");
    XXXForm empty;
    EXPECT_DEATH(empty.itemAtRowIndex(0), "index<self.items.count");
}

TEST(DynamicForm, BoundVariantKeepsControlAndObjectInStep)
{
    Profile profile;
    profile.setHost(QStringLiteral("from-object"));
    XXXForm form;
    form.resize(300, 100);
    form.setBindObj(&profile);
    form.updateWithData2(QVariantList{row("host", XXXFormTypeTextField, "ignored", "from-row")});
    auto *field = form.findChild<QLineEdit *>("host");
    ASSERT_NE(field, nullptr) << "the title is the identifier";
    EXPECT_EQ(field->height(), 20);
    EXPECT_EQ(field->text(), QStringLiteral("from-object"));
    profile.setHost(QStringLiteral("changed"));
    EXPECT_EQ(field->text(), QStringLiteral("changed"))
        << "the object's change notification reaches the field";
    field->clear();
    QTest::keyClicks(field, QStringLiteral("typed"));
    EXPECT_EQ(profile.host(), QStringLiteral("typed"));

    form.removeFormDataBings(); // no cached values in this variant: the binding stays
    profile.setHost(QStringLiteral("again"));
    EXPECT_EQ(field->text(), QStringLiteral("again"));
}

TEST(DynamicForm, CacheVariantWritesTheValueCache)
{
    XXXForm form;
    form.resize(300, 100);
    form.updateWithData22(QVariantList{row("Name", XXXFormTypeTextField, "ignored", "n1"),
                                       row("Kind", XXXFormTypeComboBox, "kind", "x", {"x", "y"})});
    auto *field = form.findChild<QLineEdit *>("Name");
    EXPECT_EQ(field->text(), QStringLiteral("n1"));
    EXPECT_EQ(form.findChild<QWidget *>("Kind")->height(), 24);
    QTest::keyClicks(field, QStringLiteral("2"));
    EXPECT_EQ(form.bindDataMap().value("Name").toString(), QStringLiteral("n12"));
    EXPECT_EQ(form.bindUIComponents().size(), 1) << "choices are bound only with a bound object";

    form.removeFormDataBings();
    QTest::keyClicks(field, QStringLiteral("3"));
    EXPECT_EQ(form.bindDataMap().value("Name").toString(), QStringLiteral("n12"));
}

#include "DynamicFormTest.moc"
