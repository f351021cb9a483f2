# Turns manpages.md into one roff manual page per "# name(section) - summary" heading.
# Usage: awk -v dir=OUTDIR -v version=VERSION -v date=YYYY-MM-DD -v folder=PROGRAM_FOLDER \
#            -f manpage.awk manpages.md
# Plain POSIX awk (Debian's mawk is enough); writes OUTDIR/<name>.<section>. "@PROGRAM_FOLDER@" in
# the source stands for the installed program folder.

# Roff text for one source line: **bold**, *italic* (never hyphenated: paths), \* for a star. A minus
# inside a bold or italic span (options, commands) is a real minus sign, elsewhere a hyphen.
function inline(s,    out, i, n, c, bold, ital) {
    out = ""
    n = length(s)
    for (i = 1; i <= n; i++) {
        c = substr(s, i, 1)
        if (c == "\\" && substr(s, i + 1, 1) == "*") { out = out "*"; i++ }
        else if (c == "*" && substr(s, i + 1, 1) == "*") { out = out (bold ? "\\fR" : "\\fB"); bold = !bold; i++ }
        else if (c == "*") { out = out (ital ? "\\fR" : "\\fI\\%"); ital = !ital }
        else if (c == "\\") out = out "\\e"
        else if (c == "-" && (bold || ital)) out = out "\\-"
        else out = out c
    }
    if (bold || ital) out = out "\\fR"
    return guard(out)
}

# A line shown as it stands.
function literal(s,    out, i, c) {
    out = ""
    for (i = 1; i <= length(s); i++) {
        c = substr(s, i, 1)
        if (c == "\\") out = out "\\e"
        else if (c == "-") out = out "\\-"
        else out = out c
    }
    return guard(out)
}

# A text line must not start like a roff request.
function guard(s) { return (s ~ /^[.']/) ? "\\&" s : s }

# A blank line starts a new paragraph, except right after a heading.
function emit(line) {
    if (para && !fresh) print ".PP" > file
    para = 0; fresh = 0
    print line > file
}

# The line held back in case a ": " description follows it.
function flush() {
    if (held != "") emit(inline(held))
    held = ""
}

function endLiteral() {
    if (inLiteral) { print ".fi" > file; print ".RE" > file; inLiteral = 0 }
}

function fail(message) {
    printf "manpage.awk: line %d: %s\n", NR, message > "/dev/stderr"
    failed = 1
    exit 1
}

/^%/ { next }

# Substituted before anything else, so the folder is marked up like the text around it.
{
    while ((at = index($0, "@PROGRAM_FOLDER@")) > 0)
        $0 = substr($0, 1, at - 1) folder substr($0, at + 16)
}

/^# / {
    flush(); endLiteral()
    if (file != "") close(file)
    heading = substr($0, 3)
    open = index(heading, "("); shut = index(heading, ")")
    if (!open || shut < open || substr(heading, shut, 4) != ") - ") fail("expected \"# name(section) - summary\"")
    name = substr(heading, 1, open - 1)
    section = substr(heading, open + 1, shut - open - 1)
    file = dir "/" name "." section
    title = toupper(name)
    print ".TH \"" title "\" \"" section "\" \"" date "\" \"Oakridge " version "\" \"User Commands\"" > file
    print ".SH NAME" > file
    print literal(name) " \\- " inline(substr(heading, shut + 4)) > file
    para = 0
    next
}

file == "" && NF { fail("text before the first page heading") }
file == "" { next }

/^## / { flush(); endLiteral(); print ".SH " substr($0, 4) > file; para = 0; fresh = 1; next }

/^    / {
    flush()
    if (!inLiteral) {
        if (!fresh) print ".PP" > file
        para = 0; fresh = 0
        print ".RS 4" > file; print ".nf" > file
        inLiteral = 1
    }
    print literal(substr($0, 5)) > file
    next
}

/^: / {
    if (held == "") fail("a description needs the line it describes just above it")
    endLiteral()
    print ".TP" > file
    print inline(held) > file
    held = ""
    para = 0; fresh = 0
    print inline(substr($0, 3)) > file
    next
}

/^[ \t]*$/ { flush(); endLiteral(); para = 1; next }

{ endLiteral(); flush(); held = $0 }

END {
    if (failed) exit 1
    flush(); endLiteral()
    if (file == "") { print "manpage.awk: no page heading found" > "/dev/stderr"; exit 1 }
}
