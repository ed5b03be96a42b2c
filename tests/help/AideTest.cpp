#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHelpEngineCore>
#include <QHelpLink>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <memory>

namespace {

const QString Espace = QStringLiteral("org.velmora3d.aide");

// the help as an installed program finds it: the collection and the compiled help side by side,
// copied away from where they were built, opened read-only
class Aide : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dossier_.isValid());
        const QDir construit(QStringLiteral(VELMORA_AIDE_DIR));
        for (const char* nom : {"Velmora3D.qhc", "Velmora3D.qch"})
            ASSERT_TRUE(QFile::copy(construit.filePath(QString::fromLatin1(nom)),
                                    dossier_.filePath(QString::fromLatin1(nom))))
                << nom << " was not built";
        moteur_ = std::make_unique<QHelpEngineCore>(dossier_.filePath(QStringLiteral("Velmora3D.qhc")));
        moteur_->setReadOnly(true);
        ASSERT_TRUE(moteur_->setupData()) << moteur_->error().toStdString();
        ASSERT_TRUE(moteur_->registeredDocumentations().contains(Espace));
    }

    QUrl Page(const QString& chemin) const {
        return QUrl(QStringLiteral("qthelp://%1/aide/%2").arg(Espace, chemin));
    }
    QString Texte(const QUrl& url) const { return QString::fromUtf8(moteur_->fileData(url)); }

    QTemporaryDir dossier_;
    std::unique_ptr<QHelpEngineCore> moteur_;
};

}  // namespace

TEST_F(Aide, EveryHelpContextOpensThePageOfItsWindow) {
    const struct {
        const char* contexte;
        const char* page;
    } contextes[] = {
        {"1200", "raccourcis.html"},   {"1300", "fenetre-principale.html"}, {"1410", "vue-numerique.html"},
        {"1420", "difficulte.html"},   {"1430", "reglage-billard.html"},    {"1440", "memo-trajets.html"},
        {"1450", "queue.html"},        {"1460", "coups-enregistres.html"},  {"1470", "solutions.html"},
        {"1480", "entrainement.html"}, {"1485", "entrainement.html"},       {"1490", "partie.html"},
        {"1500", "systeme.html"}};
    for (const auto& c : contextes) {
        const QString id = QString::fromLatin1(c.contexte);
        const QList<QHelpLink> liens = moteur_->documentsForIdentifier(id);
        ASSERT_EQ(liens.size(), 1) << c.contexte;
        const QUrl url = liens.first().url;
        EXPECT_EQ(url.fileName(), QString::fromLatin1(c.page)) << c.contexte;
        EXPECT_EQ(url.fragment(), QStringLiteral("aide-") + id);
        // the page holds the anchor the context points at
        EXPECT_TRUE(Texte(url).contains(QStringLiteral("name=\"aide-%1\"").arg(id))) << c.page;
    }
    EXPECT_TRUE(moteur_->documentsForIdentifier(QStringLiteral("9999")).isEmpty());
}

TEST_F(Aide, ContentsStartPageAndIndexAreThere) {
    const QList<QHelpLink> sommaire = moteur_->documentsForIdentifier(QStringLiteral("sommaire"));
    ASSERT_EQ(sommaire.size(), 1);
    EXPECT_EQ(sommaire.first().url.fileName(), QStringLiteral("index.html"));
    for (const char* mot : {"fausse queue", "tir automatique", "fichier .fsk", "glissement", "roulement",
                            "pivotement", "restitution", "frottement", "saut"})
        EXPECT_FALSE(moteur_->documentsForKeyword(QString::fromUtf8(mot)).isEmpty()) << mot;
}

TEST_F(Aide, EveryPageOfTheProjectIsCompiledAndEveryLinkLeadsToAnAnchor) {
    // the project file: table of contents and index references, and the pages it lists
    QFile projet(QStringLiteral(VELMORA_AIDE_SOURCE_DIR "/Velmora3D.qhp"));
    ASSERT_TRUE(projet.open(QIODevice::ReadOnly));
    const QString qhp = QString::fromUtf8(projet.readAll());
    QStringList cibles;
    for (const auto& m : QRegularExpression(QStringLiteral("ref=\"([^\"]+)\"")).globalMatch(qhp))
        cibles << m.captured(1);

    // every page of the source folder is in the help, with its links
    const QDir sources(QStringLiteral(VELMORA_AIDE_SOURCE_DIR "/html"));
    const QStringList pages = sources.entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_GE(pages.size(), 12);
    const QRegularExpression lien(QStringLiteral("href=\"([^\":]+\\.html(#[^\"]*)?)\""));
    for (const QString& page : pages) {
        const QString texte = Texte(Page(QStringLiteral("html/") + page));
        ASSERT_FALSE(texte.isEmpty()) << page.toStdString() << " is not in the compiled help";
        EXPECT_TRUE(texte.contains(QStringLiteral("<title>"))) << page.toStdString();
        for (const auto& m : lien.globalMatch(texte)) cibles << QStringLiteral("html/") + m.captured(1);
    }
    EXPECT_FALSE(Texte(Page(QStringLiteral("html/aide.css"))).isEmpty());

    for (const QString& cible : cibles) {
        const QUrl url = Page(cible);
        const QString texte = Texte(url);
        EXPECT_FALSE(texte.isEmpty()) << cible.toStdString() << " leads nowhere";
        if (!url.fragment().isEmpty()) {
            EXPECT_TRUE(texte.contains(QStringLiteral("name=\"%1\"").arg(url.fragment())))
                << cible.toStdString() << " names a missing anchor";
        }
    }
}
