#include "search/file_type_class.h"

#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "search/pattern_matcher.h"
#include "search/search_walk.h"

namespace tov {
namespace {

bool ClassMatches(std::size_t row, const std::string& name) {
    const PatternCompileResult compiled =
        PatternMatcher::Compile(SearchExpression(FileTypeClasses()[row].expression, true));
    EXPECT_TRUE(compiled.ok()) << row;
    return compiled.ok() && compiled.matcher().Test(SearchExpression(name, true));
}

TEST(FileTypeClass, TheTenRowsInOrder) {
    const auto& classes = FileTypeClasses();
    const std::uint16_t ids[] = {IDS_CLASS_ALL,        IDS_CLASS_WORD,       IDS_CLASS_EXCEL,
                                 IDS_CLASS_POWERPOINT, IDS_CLASS_COMPRESSED, IDS_CLASS_EMAIL,
                                 IDS_CLASS_IMAGE,      IDS_CLASS_MUSIC,      IDS_CLASS_VIDEO,
                                 IDS_CLASS_SQLSERVER};
    for (std::size_t row = 0; row < classes.size(); ++row) {
        EXPECT_EQ(classes[row].display_text_id, ids[row]) << row;
        const std::string expression = classes[row].expression;
        EXPECT_EQ(expression.find('^'), std::string::npos) << row;
        EXPECT_EQ(SearchExpression(expression, true), expression) << "already lower case";
    }
    EXPECT_STREQ(classes[0].expression, "\\.*");
    EXPECT_STREQ(classes[6].expression, "\\.(jpeg|jpg|gif|bmp|png|tif|tiff|dwg)$");
    EXPECT_STREQ(classes[7].expression, "\\.(mp3|wav|asf|wma|snd|mid|midi|au|aif)$");
    EXPECT_STREQ(classes[9].expression, "\\.(mdf|ldf)$");
}

TEST(FileTypeClass, NamesOfEachClass) {
    EXPECT_TRUE(ClassMatches(1, "REPORT.DOC"));
    EXPECT_TRUE(ClassMatches(1, "report.dot"));
    EXPECT_TRUE(ClassMatches(1, "a.b.doc"));
    EXPECT_FALSE(ClassMatches(1, "report.docx"));
    EXPECT_FALSE(ClassMatches(1, "report.doc.bak"));
    EXPECT_FALSE(ClassMatches(1, "report.doc "));
    EXPECT_FALSE(ClassMatches(1, "reportdoc"));
    EXPECT_TRUE(ClassMatches(2, ".xls"));
    EXPECT_TRUE(ClassMatches(3, "deck.PPS"));
    EXPECT_TRUE(ClassMatches(4, "x.tif.zip"));
    EXPECT_TRUE(ClassMatches(4, "Backup.zip"));
    EXPECT_TRUE(ClassMatches(5, "mail.dbx"));
    EXPECT_TRUE(ClassMatches(6, "plan.DWG"));
    EXPECT_TRUE(ClassMatches(6, "x.tif"));
    EXPECT_TRUE(ClassMatches(6, "x.tiff"));
    EXPECT_FALSE(ClassMatches(6, "x.tif.zip"));
    EXPECT_TRUE(ClassMatches(7, "song.mid"));
    EXPECT_TRUE(ClassMatches(7, "song.midi"));
    EXPECT_TRUE(ClassMatches(8, "clip.Vob"));
    EXPECT_TRUE(ClassMatches(9, "db.LDF"));
    EXPECT_FALSE(ClassMatches(9, "db.ldf2"));
    for (const char* name : {"README", "a.b", ""}) {
        EXPECT_TRUE(ClassMatches(0, name)) << name;
    }
}

}  // namespace
}  // namespace tov
