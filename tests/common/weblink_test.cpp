// Web links go to the desktop's handler for their scheme.
#include "common/version.h"
#include "common/weblink.h"

#include <QDesktopServices>
#include <QTemporaryFile>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// Stands in for the browser and the file viewer: records what it is given.
class Catcher : public QObject {
    Q_OBJECT
  public:
    explicit Catcher(const QStringList& schemes) : m_schemes(schemes) {
        for (const QString& s : m_schemes)
            QDesktopServices::setUrlHandler(s, this, "open");
    }
    ~Catcher() override {
        for (const QString& s : m_schemes)
            QDesktopServices::unsetUrlHandler(s);
    }
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened.append(url); }

  private:
    QStringList m_schemes;
};

} // namespace

TEST(WebLink, MakerWebsiteGoesToTheBrowser) {
    Catcher browser({"http", "https"});
    EXPECT_TRUE(weblink::OpenDocument(QString::fromLatin1(parvello::kMakerWebsite)));
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(browser.opened.first(), QUrl(parvello::kMakerWebsite));
    EXPECT_EQ(browser.opened.first().scheme(), "https");
    EXPECT_EQ(browser.opened.first().host(), "www.quenwick.example");
}

TEST(WebLink, FilesOpenAsFiles) {
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    Catcher viewer({"file"});
    EXPECT_TRUE(weblink::OpenDocument(file.fileName()));
    ASSERT_EQ(viewer.opened.size(), 1);
    EXPECT_EQ(viewer.opened.first(), QUrl::fromLocalFile(file.fileName()));
}

TEST(WebLink, NothingToOpenIsNoError) {
    Catcher browser({"http", "https"});
    EXPECT_FALSE(weblink::OpenDocument(QString()));
    EXPECT_FALSE(weblink::OpenDocument("not an address"));
    EXPECT_TRUE(browser.opened.isEmpty());
}

#include "weblink_test.moc"
