# Sourced by the install tests. write_user_data <program folder>: what a user's work leaves in the
# program folder: an archive, a photo, an attachment, an export and a changed password; and a
# damaged program, which an install must replace.
write_user_data() {
    mkdir -p "$1/Foto_Gioco" "$1/Documenti_Allegati"
    printf 'record' >"$1/Giochi.gdt"
    printf 'jpeg' >"$1/Foto_Gioco/Giochi_Foto_A_1.jpg"
    printf 'pdf' >"$1/Documenti_Allegati/certificato.pdf"
    printf 'xls' >"$1/Zendaro.xls"
    printf '[Accesso]\r\nValore=0A1B\r\n' >"$1/unins000.dll"
    printf 'broken' >"$1/Brivanto"
}
