#!/bin/sh
# Fails when a C++ file includes a header of the project that its folder may not include (an
# include that points up or sideways), when a file lies in no folder of the table, or when a
# library's header is included by its bare name; names each such line. The table of layers is
# scripts/layers.txt.
set -eu
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | xargs grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' |
    awk -v table=scripts/layers.txt '
    function unitOf(path,    best, f) {
        best = ""
        for (f in allowed)
            if (index(path, f "/") == 1 && length(f) > length(best)) best = f
        return best
    }
    function mayInclude(from, to,    n, i, list) {
        n = split(allowed[from], list, " ")
        for (i = 1; i <= n; ++i)
            if (to == list[i] || index(to, list[i] "/") == 1) return 1
        return 0
    }
    function fail(where, text) {
        print where ": " text
        ++faults
    }
    BEGIN {
        while ((getline line < table) > 0) {
            if (line ~ /^[[:space:]]*(#|$)/) continue
            n = split(line, field, " ")
            kind[field[2]] = field[1]
            allowed[field[2]] = ""
            for (i = 3; i <= n; ++i) allowed[field[2]] = allowed[field[2]] " " field[i]
        }
        while (("git ls-files \"*.cpp\" \"*.h\"" | getline path) > 0) {
            inRepo[path] = 1
            name = path
            sub(/.*\//, "", name)
            byName[name] = byName[name] == "" ? path : "ambiguous"
            if (unitOf(path) == "") fail(path, "lies in no folder of " table)
        }
    }
    {
        split($0, part, ":")
        file = part[1]
        where = part[1] ":" part[2]
        header = $0
        sub(/^[^"]*"/, "", header)
        sub(/".*/, "", header)
        dir = file
        sub(/\/[^\/]*$/, "", dir)
        if (inRepo[dir "/" header]) target = dir "/" header
        else if (inRepo[header]) target = header
        else if (header !~ /\// && byName[header] != "" && byName[header] != "ambiguous")
            target = byName[header]
        else next  # a system header, or one the build generates
        from = unitOf(file)
        to = unitOf(target)
        if (from == "" || to == "") next
        if (!mayInclude(from, to))
            fail(where, from "/ may not include " target " (" table ")")
        else if (kind[to] == "library" && header != target)
            fail(where, "include " target " by its path from the source root")
    }
    END {
        if (faults) {
            print faults " include(s) break the layers"
            exit 1
        }
        print "layers: every include points down its own folder or a folder below it"
    }'
