#include "webrix/start_address.h"

#include <gtest/gtest.h>

#include "common/testing/test_support.h"

namespace {

using namespace webrix;

TEST(CommandLine, ReadsTheThreeFieldsSeparatedByAnyWhitespace) {
  CommandLine line = parseCommandLine("  doc.htm\thttp://host/start.html   7 ");
  EXPECT_EQ(line.words, 3);
  EXPECT_EQ(line.document, "doc.htm");
  EXPECT_EQ(line.address, "http://host/start.html");
  EXPECT_EQ(line.number, 7);
}

TEST(CommandLine, CountsOnlyTheFieldsPresent) {
  EXPECT_EQ(parseCommandLine("").words, 0);
  EXPECT_EQ(parseCommandLine("   ").words, 0);
  EXPECT_EQ(parseCommandLine("doc.htm").words, 1);
  EXPECT_EQ(parseCommandLine("doc.htm NULO").words, 2);
  // A third word that is no number stops the reading, as with %d.
  CommandLine line = parseCommandLine("doc.htm NULO x");
  EXPECT_EQ(line.words, 2);
  EXPECT_EQ(line.number, 0);
}

// vigas starts Webrix with "mi viga.html" twice: each argument is one field,
// blanks and all, never joined and split again.
TEST(CommandLine, ArgumentsAreTheFieldsAsGiven) {
  CommandLine line = commandLineOf({"mi viga.html", "mi viga.html", "0"});
  EXPECT_EQ(line.words, 3);
  EXPECT_EQ(line.document, "mi viga.html");
  EXPECT_EQ(line.address, "mi viga.html");
  EXPECT_EQ(line.number, 0);
  EXPECT_EQ(commandLineOf({}).words, 0);
  EXPECT_EQ(commandLineOf({"d e"}).words, 1);
  EXPECT_EQ(commandLineOf({"d", "NULO", "x"}).words, 2);
}

TEST(CommandLine, KeepsLongWordsWhole) {
  std::string address = "file:///" + std::string(300, 'a') + ".html";
  CommandLine line = parseCommandLine("d " + address + " 1");
  EXPECT_EQ(line.address, address);
  EXPECT_EQ(line.number, 1);
}

TEST(CommandLine, ArgumentsJoinIntoOneText) {
  const char* argv[] = {"Webrix", "doc.htm", "NULO", "0"};
  EXPECT_EQ(joinArguments(4, argv), "doc.htm NULO 0");
  EXPECT_EQ(joinArguments(1, argv), "");
}

// The server file reader is given canned results here; reading the real
// file is checked below.
ServerFile server(bool opened, int words, std::string address) { return {opened, words, std::move(address)}; }

TEST(StartAddressChoice, TokenTwoIsTheAddressUnlessItIsExactlyNULO) {
  int reads = 0;
  auto reader = [&] {
    ++reads;
    return server(true, 3, "http://from-file/");
  };
  StartAddress lower = chooseStartAddress(parseCommandLine("d nulo 0"), reader);
  EXPECT_EQ(lower.address, "nulo");
  EXPECT_EQ(lower.problem, "");
  EXPECT_EQ(reads, 0);
  StartAddress upper = chooseStartAddress(parseCommandLine("d NULO 0"), reader);
  EXPECT_EQ(upper.address, "http://from-file/");
  EXPECT_EQ(upper.problem, "");
  EXPECT_EQ(reads, 1);
}

TEST(StartAddressChoice, MissingPiecesGiveABlankPageAndAMessage) {
  auto never = []() -> ServerFile {
    ADD_FAILURE() << "servidor.txt read";
    return {};
  };
  for (const char* text : {"", "doc.htm"}) {
    StartAddress start = chooseStartAddress(parseCommandLine(text), never);
    EXPECT_EQ(start.address, "about:blank") << text;
    EXPECT_NE(start.problem.find("no start address"), std::string::npos) << text;
  }
  StartAddress unopened = chooseStartAddress(parseCommandLine("d NULO 0"), [] { return server(false, 0, ""); });
  EXPECT_EQ(unopened.address, "about:blank");
  EXPECT_NE(unopened.problem.find("Cannot open servidor.txt"), std::string::npos);
  StartAddress shortFile = chooseStartAddress(parseCommandLine("d NULO 0"), [] { return server(true, 2, ""); });
  EXPECT_EQ(shortFile.address, "about:blank");
  EXPECT_NE(shortFile.problem.find("third word is missing"), std::string::npos);
}

TEST(ServerFileReading, TakesTheThirdWordOfTheFile) {
  testsupport::ScratchDir dir;
  dir.write("a.txt", "uno dos\r\nhttp://server/page.html cuatro\r\n");
  ServerFile full = readServerFile(dir.file("a.txt"));
  EXPECT_TRUE(full.opened);
  EXPECT_EQ(full.words, 3);
  EXPECT_EQ(full.address, "http://server/page.html");

  dir.write("b.txt", "  uno\n\n dos  \n");
  ServerFile two = readServerFile(dir.file("b.txt"));
  EXPECT_TRUE(two.opened);
  EXPECT_EQ(two.words, 2);
  EXPECT_EQ(two.address, "");

  dir.write("c.txt", "");
  EXPECT_EQ(readServerFile(dir.file("c.txt")).words, 0);
  EXPECT_FALSE(readServerFile(dir.file("missing.txt")).opened);
}

TEST(Texts, MissingDocumentMessageNamesTheFile) {
  EXPECT_EQ(missingFileMessage("nada.htm"),
            "nada.htm\nCannot find this file.\nPlease verify that the correct path and file name are given.");
}

TEST(Texts, OpenFilterBecomesAToolkitWildcard) {
  EXPECT_EQ(fileDialogWildcard(kOpenFilter),
            "HTML Files|*.htm;*.html|Text Files|*.txt|GIF Files|*.gif|JPEG Files|*.jpg;*.jpeg|AU Files|*.au|"
            "AIFF Files|*.aif;*.aiff|XBM Files|*.xbm|All Files|*");
  EXPECT_EQ(fileDialogWildcard("A|*.a;*.*||"), "A|*.a;*");
  EXPECT_EQ(fileDialogWildcard("A|*.a|"), "A|*.a");
}

}  // namespace

namespace {

// An address typed without a scheme is read as a browser's address box reads it.
TEST(BrowserAddress, PlainTextBecomesAFileAddressIfItExistsElseAWebAddress) {
  testsupport::ScratchDir dir;
  dir.write("informe.html", "<html></html>");
  dir.write("con blanco.html", "<html></html>");
  const std::string& base = dir.path();
  const struct {
    std::string typed, expected;
  } cases[] = {
      {"http://host/a.html", "http://host/a.html"},
      {"about:blank", "about:blank"},
      {"file:///tmp/x.html", "file:///tmp/x.html"},
      {"informe.html", "file://" + base + "/informe.html"},
      {"./informe.html", "file://" + base + "/informe.html"},
      {"  informe.html ", "file://" + base + "/informe.html"},
      {base + "/con blanco.html", "file://" + base + "/con%20blanco.html"},
      {"otro.html", "http://otro.html"},
      {"www.example.com/a?b=1", "http://www.example.com/a?b=1"},
      {"localhost:8080/x", "http://localhost:8080/x"},
      {"nulo", "http://nulo"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(browserAddress(c.typed, base), c.expected) << c.typed;
}

}  // namespace
