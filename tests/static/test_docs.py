"""tests/static/test_docs.py SOURCE_DIR — the documents against the tree: every relative link
leads to a file, and docs/layout.md names every folder and file under src/ and nothing else
(a bare name in a table's first column or a heading is in the folder last named).
"""
import re
import sys
import unittest
from pathlib import Path
from urllib.parse import unquote

ROOT = Path(sys.argv[1]).resolve()
CODE = re.compile(r"```.*?```|`[^`\n]*`", re.S)
LINK = re.compile(r"!?\[[^\]]*\]\(\s*<?([^)>\s]+)>?(?:\s+\"[^\"]*\")?\s*\)|^\s*\[[^\]]+\]:\s*(\S+)", re.M)


def layout_names(text):
    names, folder = set(), ""
    for line in text.splitlines():
        if not line.startswith("#") and not (line.startswith("|") and not re.match(r"\|\s*-", line)):
            continue
        cell = line if line.startswith("#") else line.split("|")[1]
        for name in re.findall(r"`([^`]+)`", cell):
            path = name if "/" in name else folder + name
            names.add(path.rstrip("/"))
            if name.endswith("/"):
                folder = name
    return names


class DocsTest(unittest.TestCase):

    def test_every_relative_link_leads_to_a_file(self):
        broken = []
        for doc in [ROOT / "README.md", ROOT / "CHANGELOG.md", *sorted((ROOT / "docs").glob("*.md"))]:
            for match in LINK.finditer(CODE.sub("", doc.read_text(encoding="utf-8"))):
                target = match.group(1) or match.group(2)
                if re.match(r"[a-z][a-z0-9+.-]*:|#", target):
                    continue  # another site, mail, or a place in the same page
                if not (doc.parent / unquote(target.split("#")[0])).exists():
                    broken.append(f"{doc.relative_to(ROOT)}: {target}")
        self.assertEqual(broken, [], "links to nothing")

    def test_layout_names_every_source_file_and_nothing_else(self):
        named = layout_names((ROOT / "docs" / "layout.md").read_text(encoding="utf-8"))
        present = {str(p.relative_to(ROOT)) for p in (ROOT / "src").rglob("*") if not p.name.startswith(".")}
        self.assertEqual(sorted(present - named), [], "under src/ but not in docs/layout.md")
        self.assertEqual(sorted(n for n in named if not (ROOT / n).exists()), [], "in docs/layout.md but not there")


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
