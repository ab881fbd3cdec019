# Doxygen input filter: the engine's headers document their classes and members with plain "//"
# comments, which Doxygen ignores. This filter hands Doxygen the same text as documentation:
#  - the comment that opens a header (right after "#pragma once") describes the class the file is
#    named after, or the class it names first ("// TKxDeSurface: ..."); otherwise the file itself;
#  - a comment block directly above a declaration documents that declaration.
# Section rules ("// ---- ...") and comments followed by a blank line stay plain comments.
# Usage (Doxygen calls it so): awk -f doc-comments.awk FILE

function is_rule(s) { return s ~ /^[ \t]*\/\/ *(----|====|\*\*\*\*)/ }
function is_plain_comment(s) { return s ~ /^[ \t]*\/\/([^\/!]|$)/ }
# Spaces between "//" and the text; a bullet's text ("// - x") counts as indented by 3.
function indent_of(s,   t) {
  t = s
  sub(/^[ \t]*\/\/\/?/, "", t)
  if (t ~ /^ *$/) return -1
  if (t ~ /^ - /) return 3
  match(t, /^ */)
  return RLENGTH
}
# Prints a documentation line; an example set off by a deeper indent (after an empty comment line,
# or two columns deeper than the text above it) is shown verbatim.
function emit_doc(s,   d) {
  d = indent_of(s)
  if (verbatim && (d < verbatim || d < 0)) {
    print "/// \\endverbatim"
    verbatim = 0
  }
  if (!verbatim && d >= 3 && s !~ /\/\/ - / && (prev_indent == -1 || d >= prev_indent + 2) && prev_doc) {
    print "/// \\verbatim"
    verbatim = d
  }
  sub(/\/\//, "///", s)
  print s
  prev_indent = d
  prev_doc = 1
}
function end_doc() {
  if (verbatim) print "/// \\endverbatim"
  verbatim = 0
  prev_doc = 0
  prev_indent = -1
}
function is_declaration(s) {
  if (s ~ /^[ \t]*$/ || s ~ /^[ \t]*#/ || s ~ /^[ \t]*\/\//) return 0
  if (s ~ /^[ \t]*(public|protected|private)( +Q_SLOTS| +slots)?:/ || s ~ /^[ \t]*}/) return 0
  if (s ~ /^[ \t]*(namespace|using namespace)[ \t]/) return 0
  return 1
}

# First pass, before the file is read line by line: its classes and whether each has a comment of
# its own.
BEGIN {
  n = 0
  while ((getline l < ARGV[1]) > 0) {
    line[++n] = l
    if (l ~ /^[ \t]*(class|struct) +[A-Za-z_][A-Za-z0-9_]*( +final)?( *:[^;]*)? *\{? *$/) {
      name = l
      sub(/^[ \t]*(class|struct) +/, "", name)
      sub(/[^A-Za-z0-9_].*$/, "", name)
      declared[name] = 1
      if (n > 1 && is_plain_comment(line[n - 1]) && !is_rule(line[n - 1])) commented[name] = 1
    }
  }
  close(ARGV[1])
}

FNR == 1 {
  base = FILENAME
  sub(/^.*\//, "", base)
  sub(/\.[^.]*$/, "", base)
  # The namespace the header declares its classes in, for \class.
  ns = ""
  for (i = 1; i <= n; ++i)
    if (match(line[i], /^namespace +[A-Za-z_][A-Za-z0-9_:]* *\{/)) {
      ns = line[i]
      sub(/^namespace +/, "", ns)
      sub(/[ \t]*\{.*$/, "", ns)
      break
    }
  # The header's opening comment block.
  first = 0
  if (line[1] ~ /^#pragma once/ && is_plain_comment(line[2])) first = 2
  last = first
  if (first)
    while (last < n && is_plain_comment(line[last + 1])) ++last
  subject = ""
  if (first) {
    named = line[first]
    sub(/^\/\/ */, "", named)
    sub(/[^A-Za-z0-9_].*$/, "", named)
    if (named in declared) subject = named
    else if (("T" base) in declared && !(("T" base) in commented)) subject = "T" base
    else if ((base) in declared && !((base) in commented)) subject = base
  }
}

{
  s = $0
  if (first && FNR == first) {
    if (subject != "") print "/// \\class " (ns != "" ? ns "::" : "") subject
    else print "/// \\file"
  }
  if (first && FNR >= first && FNR <= last) {
    emit_doc(s)
    if (FNR == last) end_doc()
    next
  }
  if (is_plain_comment(s) && !is_rule(s)) {
    # Part of a block that ends right above a declaration?
    j = FNR
    while (j < n && is_plain_comment(line[j + 1]) && !is_rule(line[j + 1])) ++j
    if (j < n && is_declaration(line[j + 1])) {
      emit_doc(s)
      if (FNR == j) end_doc()
      next
    }
  }
  print s
}
