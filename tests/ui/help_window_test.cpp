// The help window and the guide it shows: every link resolving, the context
// numbers opening their pages, the contents and the search wired, and the
// page on the project file's cards complete.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

#include "model/context.h"
#include "ui/help_window.h"

namespace qw {
namespace {

// The keywords the project-file reader interprets, CM and CE (comment
// lines) included.
const std::set<std::string> kReaderCards = {
    "CM",   "CE",  "EN", "SYMOFF", "SYMXZ",   "SYMYZ",    "SYMXY",    "SYMETRY",     "UNIT",
    "UNITS", "F",  "GW", "W",      "Q",       "S",        "L",        "LX",          "LI",
    "LC",   "LS",  "LP", "OVER",   "RADIALS", "BOUNDARY", "CIRCULAR", "RECTANGULAR", "FREE",
    "GND",  "HEIGHT", "COAX"};

QString Resource(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(f.readAll());
}

bool HasAnchor(const QString& html, const QString& name) {
    return html.contains(QStringLiteral("name=\"%1\"").arg(name)) ||
           html.contains(QStringLiteral("id=\"%1\"").arg(name));
}

QString FileOfEntry(const QTreeWidgetItem* item) {
    const QString file = item->data(0, Qt::UserRole).toString();
    return file.left(file.indexOf('#') < 0 ? file.size() : file.indexOf('#'));
}

TEST(HelpGuide, EveryLinkAndPictureResolvesToAResourceAndAnchor) {
    QStringList pages;
    for (QDirIterator it(":/help", {"*.html"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        pages << it.next();
    ASSERT_GE(pages.size(), 8);
    static const QRegularExpression ref(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
    int links = 0;
    for (const QString& page : pages) {
        const QString html = Resource(page);
        for (auto it = ref.globalMatch(html); it.hasNext(); ++links) {
            const QString target = it.next().captured(1);
            SCOPED_TRACE(page.toStdString() + " -> " + target.toStdString());
            if (target.startsWith("http://") || target.startsWith("https://")) continue;
            const int hash = target.indexOf('#');
            const QString path = hash < 0 ? target : target.left(hash);
            const QString file = path.isEmpty() ? page : QDir::cleanPath(QFileInfo(page).path() + "/" + path);
            ASSERT_TRUE(QFile::exists(file)) << "missing " << file.toStdString();
            EXPECT_TRUE(hash < 0 || HasAnchor(Resource(file), target.mid(hash + 1))) << "no such anchor";
        }
    }
    EXPECT_GT(links, 50);
}

TEST(HelpWindow, EachPageHasItsOwnContextNumberAndUnknownOnesOpenNothing) {
    HelpWindow w;
    ASSERT_GE(w.Topics().size(), 8);
    QSet<int> contexts;
    for (const auto& t : w.Topics()) {
        EXPECT_GT(t.context, 0) << t.file.toStdString();
        EXPECT_FALSE(contexts.contains(t.context)) << "context " << t.context << " used twice";
        contexts.insert(t.context);
        ASSERT_TRUE(w.ShowTopic(t.context)) << t.context;
        EXPECT_EQ(w.CurrentFile(), t.file);
    }
    ASSERT_TRUE(w.ShowTopic(kProjectCommandsContext));
    EXPECT_EQ(w.CurrentFile(), ":/help/project_commands.html");
    ASSERT_NE(w.ContentsList()->currentItem(), nullptr);  // the contents list follows the page
    EXPECT_EQ(FileOfEntry(w.ContentsList()->currentItem()), ":/help/project_commands.html");
    for (int unknown : {0, -208, 99999}) EXPECT_FALSE(w.ShowTopic(unknown)) << unknown;
    EXPECT_EQ(w.CurrentFile(), ":/help/project_commands.html");
}

TEST(HelpWindow, ContentsListEveryPageAndTheSearchBoxOpensTheFirstTopic) {
    HelpWindow w;
    QSet<QString> listed;
    for (QTreeWidgetItemIterator it(w.ContentsList()); *it; ++it) listed.insert(FileOfEntry(*it));
    for (const auto& t : w.Topics()) EXPECT_TRUE(listed.contains(t.file)) << t.file.toStdString() << " not listed";

    // "radials" is a keyword of the ground dialog's page.
    w.ShowSearch();
    QTest::keyClicks(w.SearchBox(), "RADIALS");
    QTest::keyClick(w.SearchBox(), Qt::Key_Return);
    EXPECT_EQ(w.CurrentFile(), ":/help/dialogs_antenna.html");
}

TEST(HelpGuide, ProjectCommandsPageDescribesEveryCardTheReaderKnows) {
    // The list is complete: the reader's source compares no other keyword.
    std::ifstream in(std::filesystem::path(QW_EXAMPLES_DIR) / "../src/model/project_reader.cpp");
    ASSERT_TRUE(in.is_open());
    const std::string reader{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::regex compare(R"(kw\s*==\s*"([A-Z]+)\")");
    int compared = 0;
    for (auto it = std::sregex_iterator(reader.begin(), reader.end(), compare); it != std::sregex_iterator();
         ++it, ++compared)
        EXPECT_TRUE(kReaderCards.count((*it)[1].str())) << (*it)[1] << " is read but missing from the list";
    EXPECT_GT(compared, 20);

    // Every card has its own place on the page and is named there.
    const QString html = Resource(":/help/project_commands.html");
    const QString text = QTextDocumentFragment::fromHtml(html).toPlainText();
    for (const auto& card : kReaderCards) {
        const QString kw = QString::fromStdString(card);
        EXPECT_TRUE(HasAnchor(html, "card-" + kw)) << card;
        EXPECT_TRUE(text.contains(QRegularExpression("\\b" + kw + "\\b"))) << card;
    }
}

}  // namespace
}  // namespace qw
