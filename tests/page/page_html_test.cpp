// Tests of the page's text: JSON strings safe inside a script, HTML escaping, the policy's hashes.
#include "page/page_html.h"

#include <gtest/gtest.h>

#include "text/encode.h"

namespace {

TEST(PageHtml, JsonString) {
  struct Row {
    std::string text, json;
  };
  const Row rows[] = {
      {"act\\act_head", "\"act\\\\act_head\""},
      {"</script>", "\"\\u003c/script\\u003e\""},
      {"a\"b&c", "\"a\\\"b\\u0026c\""},
      {"line\nbreak\t", "\"line\\u000abreak\\u0009\""},
      {"n\xc3\xa4me", "\"n\xc3\xa4me\""},                 // UTF-8 kept
      {"\xff\xc3", "\"\\udcff\\udcc3\""},                 // bytes that are not UTF-8
      {"\xed\xa0\x80", "\"\\udced\\udca0\\udc80\""},      // a surrogate written in UTF-8
      {"\xe2\x80\xa8", "\"\\u2028\""},                    // a line separator
  };
  for (const Row& row : rows)
    EXPECT_EQ(json_string(row.text, JsonUse::kScript), row.json) << row.text;
}

TEST(PageHtml, NamesCannotLeaveTheirElement) {
  Page page;
  page.program = "Texsift";
  page.game_root = "/games/<b>\"x\"/";
  PageTexture texture;
  texture.path = "gamedata\\textures\\</script><script>alert(1)</script>.dds";
  page.textures.push_back(texture);
  std::string html = page_html(page);
  EXPECT_EQ(html.find("<b>"), std::string::npos);
  EXPECT_EQ(html.find("alert(1)</script>"), std::string::npos);
  EXPECT_NE(html.find("/games/&lt;b&gt;&quot;x&quot;/"), std::string::npos);
  // Exactly the two script elements the page has: its data and its script.
  size_t scripts = 0;
  for (size_t at = 0; (at = html.find("<script", at)) != std::string::npos; ++at)
    ++scripts;
  EXPECT_EQ(scripts, 2u);
}

TEST(PageHtml, PolicyHashesTheInlineScript) {
  EXPECT_EQ(sha256_base64("abc"), "ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=");
  EXPECT_EQ(sha256_base64(""), "47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU=");
  Page page;
  std::string html = page_html(page);
  size_t start = html.find("<script>") + 8;
  std::string script = html.substr(start, html.find("</script>", start) - start);
  EXPECT_NE(html.find("script-src 'sha256-" + sha256_base64(script) + "'"), std::string::npos);
  EXPECT_NE(html.find("img-src 'self'"), std::string::npos);
  EXPECT_NE(html.find("default-src 'none'"), std::string::npos);
}

}  // namespace
