# language.sh: the language Quillory speaks, chosen from the environment as
# gettext chooses a program's catalogue. POSIX sh, for sourcing: ./play sources
# it, and CMake writes it into the installed launcher (packaging/quillory.in).
#
# The game reads its pictures from ./images/ in the folder it starts in; a
# data folder DATA holds the English run folder, and DATA/languages/<language>/
# one run folder per other language (see packaging/language_folders.cmake).

# quillory_language DATA: prints the language to play in, "en" for English.
# The locale is LC_ALL, else LC_MESSAGES, else LANG; C and POSIX (and no
# locale at all) mean English. Under any other locale LANGUAGE, a list such as
# "de:fr", gives the languages to try in order, and the locale's own language
# is tried only when LANGUAGE is unset or empty. An entry such as fr_CA.UTF-8
# tries fr_CA, then fr. English is the first language the game has, so an
# entry naming it ends the search; no entry the game has means English.
quillory_language() (
    locale=${LC_ALL:-${LC_MESSAGES:-${LANG:-C}}}
    case $locale in
    C | C.* | POSIX | POSIX.*)
        echo en
        exit
        ;;
    esac
    set -f
    IFS=:
    for entry in ${LANGUAGE:-$locale}; do
        territorial=${entry%%[.@]*}
        for candidate in "$territorial" "${territorial%%_*}"; do
            case $candidate in
            en | en_*)
                echo en
                exit
                ;;
            esac
            if [ -n "$candidate" ] && [ -d "$1/languages/$candidate" ]; then
                echo "$candidate"
                exit
            fi
        done
    done
    echo en
)

# quillory_run_folder DATA: prints the folder to start the game in: DATA
# itself in English, DATA/languages/<language> otherwise.
quillory_run_folder() {
    set -- "$1" "$(quillory_language "$1")"
    if [ "$2" = en ]; then
        echo "$1"
    else
        echo "$1/languages/$2"
    fi
}
