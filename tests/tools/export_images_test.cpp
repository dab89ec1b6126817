// Which pictures an export takes in: only real picture files, copied into the work
// folder; everything else is written as text.
#include "model/model_json.h"
#include "tools/pictures/export_images.h"
#include "tools/files/file_io.h"
#include "tests/tools/tool_test_support.h"
#include <gtest/gtest.h>

namespace qorva {
namespace {

using testing::TempFolder;

TEST(ExportImages, PicturesAreKnownByTheirSignaturesAndHeadersNotTheirNames) {
    const std::string bmp("BM\x3A\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0", 30);
    const std::pair<std::string, ImageKind> heads[] = {
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\x0DIHDR\0\0\0\x04\0\0\0\x04\x08\x02\0\0\0", 29), ImageKind::Png},
        {std::string("\x89PNG\r\n\x1a\n\0\0", 10), ImageKind::None}, {std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10), ImageKind::Jpeg},
        {"\xFF\xD8\xFF text", ImageKind::None}, {bmp, ImageKind::Bmp}, {"BM is how this text file starts, nothing more", ImageKind::None},
        {"%PDF-1.7\n", ImageKind::Pdf}, {"%PDF-\nplain text", ImageKind::None}, {"II*\0 words", ImageKind::None},
        {std::string("RIFF\x10\0\0\0WEBPVP8 ", 16), ImageKind::WebP}, {"RIFF", ImageKind::None},
        {"\xEF\xBB\xBF<?xml version='1.0'?>\n<!DOCTYPE svg>\n  <svg\nxmlns='http://www.w3.org/2000/svg'>", ImageKind::Svg},
        {"<svg> is how these notes start", ImageKind::None}, {"<svgs xmlns='http://www.w3.org/2000/svg'>", ImageKind::None},
        {"<html><svg></svg></html>", ImageKind::None}, {"\x89PNG", ImageKind::None},
    };
    for (const auto& [head, kind] : heads) EXPECT_EQ(SniffImage(head), kind) << head;
}

std::string imageModel(const std::vector<std::string>& references) {
    Json model = Json::array({"text"});
    for (const std::string& reference : references)
        model.push_back(Json::array({"image", {{"level", 0}}, Json::array({"url", reference})}));
    return dumpCompact(model);
}

TEST(ExportImages, OnlyReadablePictureFilesAreCopiedAndTheRestBecomesText) {
    TempFolder documents, work, elsewhere;
    const std::string png = test::WriteTinyPng(documents.File("pic.png"));
    test::WriteTinyPng(documents.File("picture named as text.txt"));
    elsewhere.Write("secret.png", "password=hunter2\n");
    documents.Write("notes.txt", "private notes\n");
    const std::string pngBytes = ReadWholeFile(png);
    // the copy's name (each run numbers from 1), the kept URL, or "" for text
    documents.Write("figure.pdf", "%PDF-1.4\n%%EOF\n");
    struct Case { std::string reference; bool allowRemote; std::string becomes; bool pdfPictures = false; };
    const Case cases[] = {
        {"pic.png", false, "image-1.png"}, {"picture named as text.txt", false, "image-1.png"},
        {"file://" + png, false, "image-1.png"},
        {"file://localhost" + documents.path().string() + "/pic%2Epng", false, "image-1.png"},
        {elsewhere.File("secret.png"), false, ""}, {"notes.txt", false, ""},
        {"../" + elsewhere.path().filename().string() + "/secret.png", false, ""},
        {"missing.png", false, ""}, {"/etc/passwd", false, ""}, {".", false, ""},
        {"file://otherhost/pic.png", false, ""},
        {"https://example.org/a.png", false, ""},
        {"https://example.org/a.png", true, "https://example.org/a.png"},
        {"javascript:alert(1)", true, ""}, {"smb://host/share/a.png", true, ""},
        {"figure.pdf", false, ""}, {"figure.pdf", false, "image-1.pdf", true},
    };
    for (const Case& c : cases) {
        PreparedImages prepared =
            PrepareExportImages(imageModel({c.reference}), {documents.path(), work.path(), c.allowRemote, c.pdfPictures});
        const Json block = parseJson(prepared.modelJson)[1];
        if (c.becomes.empty()) {
            EXPECT_EQ(block, parseJson(R"(["para",{"level":0},["plain",)" + Json(c.reference).dump() + "]]"))
                << c.reference;
            ASSERT_EQ(prepared.leftOut.size(), 1u) << c.reference;
            EXPECT_TRUE(prepared.leftOut[0].starts_with(c.reference + ": ")) << prepared.leftOut[0];
        } else {
            EXPECT_EQ(block[2][1], c.becomes) << c.reference;
            EXPECT_TRUE(prepared.leftOut.empty()) << c.reference;
        }
    }
    EXPECT_EQ(test::FolderEntries(work.path()), (std::vector<std::string>{"image-1.pdf", "image-1.png"}));
    EXPECT_EQ(ReadWholeFile(work.File("image-1.png")), pngBytes);
}

TEST(ExportImages, DocumentWithoutPicturesPassesThroughAndCopiesAreNumbered) {
    TempFolder documents, work;
    const std::string plain = R"(["text",["para",{"level":0},["plain","image"]]])";
    EXPECT_EQ(PrepareExportImages(plain, {documents.path(), work.path(), false}).modelJson, plain);
    test::WriteTinyPng(documents.File("a.png"));
    PreparedImages two = PrepareExportImages(imageModel({"a.png", "notes", "a.png"}), {documents.path(), work.path()});
    const Json model = parseJson(two.modelJson);
    EXPECT_EQ(Json::array({model[1][2][1], model[2][0], model[3][2][1]}), Json::array({"image-1.png", "para", "image-2.png"}));
}

}  // namespace
}  // namespace qorva
