// The help against the program's table of keys and mouse actions: every key a help page names is
// one the program has, the table of shortcuts gives each key the effect the program gives it, and
// the keys whose effect was once told wrongly are told alike on every page; and the wheel does
// what the table says: forward brings the camera nearer.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QWheelEvent>

#include "app/ActionsVel3D.h"
#include "app/FenetresOutils.h"
#include "scene/Camera.h"
#include "tests/app/Fenetres.h"

namespace {

QString Page(const QString& nom) {
    QFile f(QDir(QStringLiteral(VELMORA_AIDE_HTML_DIR)).filePath(nom));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << nom.toStdString();
    return QString::fromUtf8(f.readAll()).replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
}

// the page's lines of a table, list items and paragraphs
QStringList Blocs(const QString& page) {
    QStringList blocs;
    static const QRegularExpression bloc(QStringLiteral("<(tr|li|p)\\b[^>]*>(.*?)</\\1>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    for (const auto& m : bloc.globalMatch(page)) blocs << m.captured(2);
    return blocs;
}

QString SansBalises(QString texte) {
    texte.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return texte.simplified();
}

QString Kbd(const QString& nom) { return QStringLiteral("<kbd>") + nom + QStringLiteral("</kbd>"); }

}  // namespace

TEST(ActionsVel3D, EveryKeyTheHelpNamesIsOneOfTheProgramsKeys) {
    QStringList noms;
    for (const TActionVel3D& a : ActionsVel3D()) noms << a.Nom;
    const QStringList pages =
        QDir(QStringLiteral(VELMORA_AIDE_HTML_DIR)).entryList({QStringLiteral("*.html")});
    ASSERT_GT(pages.size(), 10);
    for (const QString& page : pages)
        for (const auto& m : QRegularExpression(QStringLiteral("<kbd>(.*?)</kbd>")).globalMatch(Page(page)))
            EXPECT_TRUE(noms.contains(m.captured(1)))
                << page.toStdString() << " names " << m.captured(1).toStdString();
}

TEST(ActionsVel3D, TheShortcutsPageGivesEachKeyItsEffect_AndEveryPageTellsAlikeWhatWasOnceToldWrongly) {
    const QString raccourcis = Page(QStringLiteral("raccourcis.html"));
    const QStringList blocs = Blocs(raccourcis);
    for (const TActionVel3D& a : ActionsVel3D()) {
        if (a.Effet.isEmpty()) continue;
        // the key's own line says it; a mouse action is said in the page
        const bool dit = std::any_of(blocs.begin(), blocs.end(), [&](const QString& b) {
            return (a.Touche.isEmpty() || b.contains(Kbd(a.Nom))) &&
                   SansBalises(b).contains(a.Effet, Qt::CaseInsensitive);
        });
        EXPECT_TRUE(dit) << a.Nom.toStdString() << " : " << a.Effet.toStdString();
    }
    for (const QString& page :
         QDir(QStringLiteral(VELMORA_AIDE_HTML_DIR)).entryList({QStringLiteral("*.html")}))
        for (const QString& b : Blocs(Page(page)))
            for (const TActionVel3D& a : ActionsVel3D()) {
                if (!a.EffetPartout || !b.contains(Kbd(a.Nom))) continue;
                EXPECT_TRUE(SansBalises(b).contains(a.Effet, Qt::CaseInsensitive))
                    << page.toStdString() << " : " << SansBalises(b).toStdString();
            }
    // the wheel on the views: forward nearer, backward farther, as the program does
    EXPECT_FALSE(raccourcis.contains(QStringLiteral("vers l'avant la caméra s'éloigne")));
}

TEST(ActionsVel3D, TheProgramDoesWhatTheTableSays_KeysMenusAndTheWheel) {
    TFenetres w;
    TMainVel3DFrm& f = w.Cree();
    EXPECT_EQ(Controle<QAction>(f, "CamFixeMobileMnu")->shortcut(), ToucheDe(TAction::Camera));
    EXPECT_EQ(Controle<QAction>(f, "QueuevisibleMnu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(Controle<QAction>(f, "SolutionsMnu")->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(ActionDeTouche(Qt::Key_Q, Qt::NoModifier), TAction::Lettre);
    EXPECT_EQ(ActionDeTouche(Qt::Key_Q, Qt::ControlModifier), TAction::QueueVisible);
    EXPECT_EQ(ActionDeTouche(Qt::Key_X, Qt::NoModifier), TAction::Aucune);
    // a notch forward over the table's view: the camera comes nearer
    TCamera* camera = w.B().CamMobileActive ? w.B().CamMobile : w.B().CamFixe;
    const float avant = camera->DistanceCible();
    QWidget* vue = f.findChild<QWidget*>(QStringLiteral("Scn"));
    ASSERT_NE(vue, nullptr);
    const QPointF centre = vue->rect().center();
    QWheelEvent roue(centre, vue->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    f.FormMouseWheel(&roue);
    EXPECT_LT(camera->DistanceCible(), avant);
}
