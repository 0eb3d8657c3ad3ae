// The standard open and save messages for each kind of file error.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "framework/Document.h"

namespace {

TEST(DocumentMessages, EachErrorGetsItsOwnClearText) {
    struct Case {
        bool open;
        DWORD error;
        const char *part;
    } cases[] = {
        {true, ERROR_FILE_NOT_FOUND, "找不到文件"},          {true, ERROR_PATH_NOT_FOUND, "文件夹不存在"},
        {true, ERROR_SHARING_VIOLATION, "正被其他程序使用"}, {true, ERROR_ACCESS_DENIED, "拒绝访问"},
        {true, ERROR_INVALID_DATA, "不完整或格式不正确"},    {true, ERROR_GEN_FAILURE, "错误码 31"},
        {false, ERROR_PATH_NOT_FOUND, "文件夹不存在"},       {false, ERROR_ACCESS_DENIED, "只读"},
        {false, ERROR_WRITE_PROTECT, "无法写入文件"},        {false, ERROR_DISK_FULL, "磁盘空间不足"},
        {false, ERROR_INVALID_NAME, "文件名无效"},           {false, ERROR_GEN_FAILURE, "错误码 31"},
    };
    for (const Case &c : cases) {
        std::string text = c.open ? CDocument::FormatOpenError("C:\\x\\a.trace", c.error)
                                  : CDocument::FormatSaveError("C:\\x\\a.trace", c.error);
        EXPECT_EQ(text.find(c.open ? "打开文档失败。\n" : "保存文档失败。\n"), 0u) << c.error;
        EXPECT_NE(text.find(c.part), std::string::npos) << c.error << ": " << text;
        EXPECT_NE(text.find("C:\\x\\a.trace"), std::string::npos) << c.error;
    }
}

} // namespace
