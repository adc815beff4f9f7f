# Writes the page, index.html, with the site's version in the addresses of its scripts: a digest
# of every file of the site. A browser keeps a script it has seen for a while and may give it to
# a newer page; under a new address it fetches the script afresh, so a page never runs with the
# scripts of another version.
#
#   cmake -DPAGE=index.html -DOUTPUT=build/web/index.html -DFILES="page.js;ascenda.js;..." -P SiteVersion.cmake
set(digests "")
foreach(file ${FILES})
  file(SHA256 ${file} digest)
  string(APPEND digests ${digest})
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING ${version} 0 16 version)
file(READ ${PAGE} page)
string(REPLACE "src=\"page.js\"" "src=\"page.js?v=${version}\"" page "${page}")
file(WRITE ${OUTPUT}.new "${page}")
# Written only when it changes, so that nothing depending on it is built again for nothing.
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
