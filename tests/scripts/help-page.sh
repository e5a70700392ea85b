#!/usr/bin/env bash
# The help page as a real browser shows it, with no network: its screenshot is not blank, it
# runs no script and loads nothing from elsewhere, and every link inside it has a target.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
page=$root/resources/Help.htm
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }

# Chromium refuses to run as root inside its sandbox; the page is our own.
chromium --headless --no-sandbox --disable-gpu --no-first-run --user-data-dir="$work/profile" \
  --window-size=1000,2400 --screenshot="$work/help.png" "file://$page" >"$work/chromium.log" 2>&1 ||
  { cat "$work/chromium.log"; fail "chromium did not render the page"; }
if [ -f "$work/help.png" ]; then
  # A blank page is one colour; text, headings and tables give hundreds.
  colours=$(convert "$work/help.png" -format '%k' info:)
  if [ "$colours" -gt 50 ]; then passed=$((passed + 1)); else fail "the screenshot has $colours colours: blank"; fi
else
  fail "no screenshot"
fi

if python3 - "$page" <<'PY'; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
import sys
from html.parser import HTMLParser

class Page(HTMLParser):
    def __init__(self):
        super().__init__()
        self.targets, self.links, self.problems = set(), [], []
    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == 'script':
            self.problems.append('a script')
        for key in ('id', 'name'):
            if key in a and tag != 'meta':
                self.targets.add(a[key])
        for key in ('src', 'href'):
            value = a.get(key) or ''
            if value.startswith('#'):
                self.links.append(value[1:])
            elif value:
                self.problems.append(f'{key}={value} reaches outside the page')

page = Page()
page.feed(open(sys.argv[1], encoding='utf-8').read())
page.problems += [f'#{link} has no target' for link in page.links if link not in page.targets]
for problem in page.problems:
    print('FAIL:', problem)
print(f'{len(page.links)} internal links checked')
sys.exit(1 if page.problems else 0)
PY

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
