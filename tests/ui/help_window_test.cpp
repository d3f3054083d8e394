// The help window and the guide it shows: every page reachable and linked
// correctly, the search and the context numbers working, and the page on
// the project file's cards complete.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "model/context.h"
#include "model/project_reader.h"
#include "platform/scripted_host.h"
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

QStringList HelpFiles(const QString& pattern) {
    QStringList files;
    QDirIterator it(":/help", {pattern}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files << it.next();
    files.sort();
    return files;
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
    const QStringList pages = HelpFiles("*.html");
    ASSERT_GE(pages.size(), 8);
    static const QRegularExpression ref(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
    int links = 0;
    for (const QString& page : pages) {
        const QString html = Resource(page);
        const QString folder = QFileInfo(page).path();
        for (auto it = ref.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            SCOPED_TRACE(page.toStdString() + " -> " + target.toStdString());
            ASSERT_FALSE(target.isEmpty());
            if (target.startsWith("http://") || target.startsWith("https://")) continue;
            const int hash = target.indexOf('#');
            const QString path = hash < 0 ? target : target.left(hash);
            const QString file = path.isEmpty() ? page : QDir::cleanPath(folder + "/" + path);
            ASSERT_TRUE(QFile::exists(file)) << "missing " << file.toStdString();
            if (hash >= 0) {
                EXPECT_TRUE(HasAnchor(Resource(file), target.mid(hash + 1))) << "no such anchor";
            }
            ++links;
        }
    }
    EXPECT_GT(links, 50);
}

TEST(HelpGuide, EveryPageHasTitleKeywordsAndItsOwnContextNumber) {
    const auto topics = LoadHelpTopics();
    ASSERT_EQ(topics.size(), HelpFiles("*.html").size());
    QSet<int> contexts;
    for (const auto& t : topics) {
        SCOPED_TRACE(t.file.toStdString());
        EXPECT_NE(t.title, t.file);
        EXPECT_GE(t.keywords.size(), 3);
        EXPECT_GT(t.context, 0);
        EXPECT_FALSE(contexts.contains(t.context)) << "context " << t.context << " used twice";
        contexts.insert(t.context);
        EXPECT_GT(t.text.size(), 400) << "a page without content";
    }
}

TEST(HelpWindow, ContentsListsEveryPageAndOpensWhatItLists) {
    HelpWindow w;
    QSet<QString> listed;
    for (QTreeWidgetItemIterator it(w.ContentsList()); *it; ++it) listed.insert(FileOfEntry(*it));
    for (const auto& t : w.Topics()) EXPECT_TRUE(listed.contains(t.file)) << t.file.toStdString() << " not listed";
    for (const auto& file : listed) EXPECT_TRUE(QFile::exists(file)) << file.toStdString();

    w.ShowContents();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.CurrentFile(), ":/help/index.html");
    // A click on an entry shows its page.
    QTreeWidgetItem* units = nullptr;
    for (QTreeWidgetItemIterator it(w.ContentsList()); *it; ++it)
        if (FileOfEntry(*it) == ":/help/units.html") units = *it;
    ASSERT_NE(units, nullptr);
    emit w.ContentsList()->itemClicked(units, 0);
    EXPECT_EQ(w.CurrentFile(), ":/help/units.html");
}

TEST(HelpWindow, ContextNumbersOpenTheirPagesAndUnknownOnesNothing) {
    HelpWindow w;
    for (const auto& t : w.Topics()) {
        ASSERT_TRUE(w.ShowTopic(t.context)) << t.context;
        EXPECT_EQ(w.CurrentFile(), t.file);
    }
    ASSERT_TRUE(w.ShowTopic(kProjectCommandsContext));
    EXPECT_EQ(w.CurrentFile(), ":/help/project_commands.html");
    // The contents list follows the page shown.
    ASSERT_NE(w.ContentsList()->currentItem(), nullptr);
    EXPECT_EQ(FileOfEntry(w.ContentsList()->currentItem()), ":/help/project_commands.html");
    for (int unknown : {0, -208, 99999}) EXPECT_FALSE(w.ShowTopic(unknown)) << unknown;
    EXPECT_EQ(w.CurrentFile(), ":/help/project_commands.html");
}

TEST(HelpWindow, KeywordSearchFindsTopicsByKeywordAndByText) {
    HelpWindow w;
    // "radials" is a keyword of the ground dialog's page, in any case.
    for (const QString& word : {QStringLiteral("RADIALS"), QStringLiteral(" Radials ")}) {
        const auto hits = w.Search(word);
        ASSERT_FALSE(hits.isEmpty()) << word.toStdString();
        EXPECT_EQ(hits.front().file, ":/help/dialogs_antenna.html") << hits.front().label.toStdString();
    }
    // Keywords that begin with the text come before those that contain it.
    const auto log = w.Search("log");
    ASSERT_FALSE(log.isEmpty());
    EXPECT_TRUE(log.front().label.startsWith("log", Qt::CaseInsensitive)) << log.front().label.toStdString();
    // Words of a page's text that are no keyword are still found.
    const auto gauge = w.Search("0.723 mm");
    ASSERT_EQ(gauge.size(), 1);
    EXPECT_EQ(gauge.front().file, ":/help/units.html");
    EXPECT_TRUE(gauge.front().label.endsWith("(in the text)"));
    // An empty box lists every keyword, as an index.
    int keywords = 0;
    for (const auto& t : w.Topics()) keywords += t.keywords.size();
    EXPECT_EQ(w.Search("").size(), keywords);

    // The window: the cursor in the box, typing fills the list, Enter opens
    // the first topic.
    w.ShowSearch();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_TRUE(w.SearchBox()->hasFocus());
    w.SearchBox()->setText("radials");
    QTest::keyClick(w.SearchBox(), Qt::Key_Return);
    EXPECT_EQ(w.CurrentFile(), ":/help/dialogs_antenna.html");
    EXPECT_TRUE(w.Browser()->textCursor().selectedText().compare("radials", Qt::CaseInsensitive) == 0);
    w.SearchBox()->setText("no such word anywhere");
    ASSERT_EQ(w.SearchResults()->count(), 1);
    EXPECT_TRUE(w.SearchResults()->item(0)->text().startsWith("No topic found"));
    QTest::keyClick(w.SearchBox(), Qt::Key_Return);  // nothing to open
    EXPECT_EQ(w.CurrentFile(), ":/help/dialogs_antenna.html");
}

// The reader's keywords, as the reader's source compares them.
std::set<std::string> KeywordsInReaderSource(const std::filesystem::path& source) {
    std::ifstream in(source);
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    std::set<std::string> found;
    const std::regex compare(R"(kw\s*==\s*"([A-Z]+)\")");
    for (auto it = std::sregex_iterator(s.begin(), s.end(), compare); it != std::sregex_iterator(); ++it)
        found.insert((*it)[1]);
    return found;
}

TEST(HelpGuide, ProjectCommandsPageDescribesEveryCardTheReaderKnows) {
    // The list above is the reader's: each card is interpreted, an unknown
    // one is not.
    ScriptedHost host;
    Context ctx(host);
    auto interpreted = [&](const std::string& card) {
        host.mainText.clear();
        ReadProjectText(ctx, "GW 1 5 0 0 0 0 0 1 0.002\r\n" + card + "\r\n", false);
        for (const auto& line : host.mainText)
            if (line.find("Not interpreted") != std::string::npos) return false;
        return true;
    };
    EXPECT_FALSE(interpreted("XYZZY 1 2"));
    for (const auto& card : kReaderCards) EXPECT_TRUE(interpreted(card)) << card;

    // And it is complete: the reader's source compares no other keyword.
    const auto source = std::filesystem::path(__FILE__).parent_path() / "../../src/model/project_reader.cpp";
    if (std::filesystem::exists(source)) {
        for (const auto& kw : KeywordsInReaderSource(source))
            EXPECT_TRUE(kReaderCards.count(kw)) << kw << " is read but missing from the list";
    }

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
