#include "help/Help.h"

#include "editor/EditorKeys.h"

namespace brivanto::help {
namespace {

// The launcher's overview of the whole program. The archive screens and the record editor show
// runs of it word for word, so a paragraph is changed here once for every screen.
const QStringList& overviewParagraphs()
{
    static const QStringList paragraphs = {
        // 1
        QStringLiteral(
            "Brivanto è il programma pensato per i collezionisti di giochi da tavolo di ogni genere: giochi "
            "di strategia, party game, giochi cooperativi e giochi di carte. Con Brivanto si tengono "
            "cataloghi "
            "personali della propria collezione, anche su una chiavetta USB, nei quali ogni gioco è "
            "descritto "
            "nei minimi dettagli; qualsiasi gioco si ritrova con pochi clic e la sua scheda, fotografie "
            "comprese, si aggiorna o si stampa in un attimo."),
        // 2
        QStringLiteral(
            "I giochi possono essere catalogati secondo qualunque criterio, per esempio per valore di "
            "mercato, per genere, per anno di uscita o per paese di origine, e le banche dati che si possono "
            "tenere sono illimitate. I dati inseriti si ritrovano nella schermata di ricerca, che interroga "
            "l'archivio secondo più criteri insieme e permette di stampare i riepiloghi."),
        // 3
        QStringLiteral(
            "La schermata iniziale dà accesso a due aree di lavoro: la prima serve a creare una nuova "
            "collezione, la seconda ad aprire e compilare una collezione già esistente. Il primo passo è "
            "quindi premere il pulsante dell'area in cui si vuole lavorare."),
        // 4
        QStringLiteral(
            "Tutti i file degli archivi si trovano nella cartella di installazione del programma. Per fare "
            "una copia di sicurezza basta copiare l'intera cartella su un altro supporto, come un disco "
            "esterno o una chiavetta USB; per ripristinare i dati basta sovrascrivere la cartella di "
            "installazione con la copia."),
        // 5
        QStringLiteral(
            "Per creare un archivio premere \"Crea nuovo archivio\", scrivere il nome completo dell'archivio "
            "nel campo di testo della schermata che si apre e confermare con il pulsante in basso."),
        // 6
        QStringLiteral(
            "Ogni nuova collezione è un file di archivio con estensione GDT, creato nella cartella del "
            "programma. Un archivio contiene un numero illimitato di schede, ognuna con due fotografie del "
            "gioco e i relativi commenti. Si consiglia di scegliere un nome completo, con parole chiave come "
            "il paese di origine o la rarità dei giochi raccolti."),
        // 7
        QStringLiteral(
            "Dopo aver scritto il nome, il pulsante \"Applica e chiudi\" conferma la creazione. Tornati alla "
            "schermata iniziale, il pulsante \"Apri archivio esistente\" mostra l'elenco di tutte le "
            "collezioni: basta fare clic su un nome e premere \"Apri archivio\"."),
        // 8
        QStringLiteral(
            "L'icona del cestino elimina la collezione selezionata. Va usata con cautela, perché un archivio "
            "eliminato non si può più recuperare."),
        // 9
        QStringLiteral(
            "L'app Zendaro gestisce un numero illimitato di schede per ogni catalogo, i file allegati a "
            "ciascuna scheda e i giochi messi in vendita. Permette ricerche con una o più chiavi, "
            "l'anteprima "
            "e la stampa delle schede, la visione in sequenza di tutte le fotografie e l'esportazione "
            "dell'archivio in un file di Excel."),
        // 10
        QStringLiteral(
            "Ogni scheda contiene due fotografie, per esempio la scatola e il suo contenuto, e i campi "
            "informativi: nome, codice ID, genere, editore, descrizione generale, anno di uscita, valore di "
            "mercato, lingua, autore o designer, rarità, paese di origine, complessità, dimensioni della "
            "scatola, difetti, contenuto della scatola, numero di giocatori, stato e luogo di "
            "conservazione."),
        // 11
        QStringLiteral("Il campo \"Note\" accoglie ogni altra informazione utile a ritrovare il gioco con la "
                       "funzione di "
                       "ricerca, come un aneddoto sulla sua uscita, un autografo o una scritta sulla "
                       "scatola. Una ricerca "
                       "sul campo \"Note\" elenca tutti i giochi che contengono la chiave cercata."),
        // 12
        QStringLiteral(
            "Spuntando la casella \"In vendita\" il gioco entra nell'elenco dei pezzi in vendita; il "
            "pulsante "
            "con l'icona della mano che regge una moneta mostra tutti i giochi attualmente in vendita."),
        // 13
        QStringLiteral(
            "Le fotografie sono salvate in formato JPEG. Si importano una alla volta con \"Sfoglia\", oppure "
            "si "
            "scattano con la webcam: premere \"Accendi webcam\", mettere davanti all'obiettivo prima la "
            "scatola e poi il suo contenuto, premere \"Cattura foto\" e quindi \"Importa foto in scheda\". "
            "Alla fine la scheda si memorizza con \"Salva\"."),
        // 14
        QStringLiteral(
            "Le due fotografie vengono adattate ai riquadri di anteprima, e l'icona della lente mostra "
            "ciascuna a tutto schermo. Per ritoccare una fotografia conviene salvarla su disco, modificarla "
            "con "
            "un programma di grafica e caricarla di nuovo con \"Sfoglia\"."),
        // 15
        QStringLiteral(
            "Il pulsante \"Slide Show\" mostra a tutto schermo, per qualche secondo ciascuna, la prima "
            "fotografia di ogni scheda dell'archivio aperto e, dopo l'ultima, ricomincia dall'inizio; un "
            "clic "
            "in un punto qualsiasi dello schermo la interrompe."),
        // 16
        QStringLiteral(
            "Il pulsante con la graffetta allega a una scheda documenti di qualsiasi tipo, per esempio un "
            "certificato di autenticità o una fotografia dell'autore del gioco."),
        // 17
        QStringLiteral(
            "Una volta salvate le schede, le ricerche avanzate funzionano anche con chiavi parziali, cioè "
            "una o "
            "più parole consecutive contenute in un campo qualsiasi, e si possono combinare più filtri: per "
            "esempio tutti i giochi di un certo genere la cui scatola contiene un determinato pezzo, oppure "
            "tutti i giochi usciti in un certo anno."),
        // 18
        QStringLiteral(
            "I dati testuali di ogni archivio si possono esportare in un foglio di Excel, per condividerli "
            "con "
            "chi non possiede Zendaro, oppure in un file CSV, che leggono i fogli di calcolo, i database e "
            "gli altri programmi di catalogazione. Le singole schede, fotografie comprese, si stampano o si "
            "vedono in anteprima con i rispettivi pulsanti."),
        // 19
        QStringLiteral(
            "Il pulsante \"Importa\" (Ctrl+I) aggiunge all'archivio aperto i giochi di un file CSV: un file "
            "esportato da Brivanto, oppure la collezione esportata da BoardGameGeek (nella pagina della "
            "propria collezione, il collegamento per esportarla in CSV). Della collezione si importano i "
            "soli giochi posseduti, con nome, codice ID, anno, giocatori, durata, età, complessità, "
            "editore, lingua, stato, luogo, note e valore in euro; il genere resta da scrivere. Prima di "
            "scrivere, una finestra riassume quanti giochi verranno importati e quali verranno saltati, per "
            "esempio perché il loro codice ID è già in archivio: importare due volte lo stesso file non "
            "aggiunge nulla. Con \"Importa\" i giochi vengono aggiunti tutti insieme, o nessuno se qualcosa "
            "va storto, e la scheda mostra il primo gioco importato; \"Annulla\" non scrive niente."),
        // 20
        QStringLiteral(
            "Il pulsante con il cestino, come i tasti Alt+Canc, elimina dall'archivio la scheda sullo "
            "schermo dopo una conferma, alla quale il tasto Invio risponde No: le schede successive salgono "
            "di una posizione insieme alle loro fotografie, le due fotografie della scheda eliminata "
            "finiscono nel cestino del computer e i file allegati restano dove sono. Se nel frattempo "
            "un'altra postazione ha modificato o spostato la scheda, Brivanto non elimina nulla e lo "
            "segnala; allo stesso modo un salvataggio non sovrascrive mai una scheda cambiata da un'altra "
            "postazione dopo che è stata visualizzata, ma propone di salvare la schermata come nuova "
            "scheda oppure di ricaricare la scheda dall'archivio."),
        // 21
        QStringLiteral(
            "Brivanto si può usare anche in una rete locale, condividendo gli archivi fra più postazioni di "
            "lavoro. Ogni salvataggio, eliminazione o importazione tiene l'archivio e le sue foto per sé "
            "dall'inizio alla fine, e un'operazione interrotta (per esempio da un'interruzione di corrente) "
            "viene completata o annullata alla successiva apertura dell'archivio, da qualunque postazione. "
            "Un archivio che l'utente può soltanto leggere si consulta, si cerca, si stampa e si esporta "
            "normalmente; il salvataggio, l'eliminazione e l'importazione segnalano che l'archivio è in sola "
            "lettura, senza modificare nulla."),
        // 22
        QStringLiteral(
            "L'accesso al programma è protetto da una password, che l'utente può cambiare tutte le volte che "
            "vuole. Per il primo accesso la password è la parola \"benvenutissimo\", da scrivere senza le "
            "virgolette."),
        // 23
        QStringLiteral("Brivanto funziona anche da chiavetta USB: basta copiare la cartella del programma "
                       "sulla chiavetta "
                       "e fare doppio clic sull'icona dell'applicazione. Copiare la cartella su un "
                       "dispositivo esterno è "
                       "anche il modo più rapido per avere una copia di sicurezza di tutti gli archivi."),
        // 24
        QStringLiteral(
            "In conclusione, Brivanto permette a ogni collezionista di costruire in poco tempo il catalogo "
            "dell'intera collezione, da consultare con altri appassionati o con possibili acquirenti, e non "
            "richiede praticamente alcun apprendimento."),
    };
    return paragraphs;
}

// The spreadsheet export has a help text of its own.
const QStringList& exportParagraphs()
{
    static const QStringList paragraphs = {
        // 1
        QStringLiteral("Il pulsante \"Esporta archivio\" esporta i dati testuali dell'archivio in un foglio "
                       "di lavoro di "
                       "Microsoft Excel, che si apre con qualsiasi programma in grado di gestire i file XLS, "
                       "per esempio "
                       "Open Office, Libre Office o Microsoft Office."),
        // 2
        QStringLiteral(
            "Aperta la finestra con la griglia dei dati, fare clic sull'icona di Excel: viene creato subito "
            "un "
            "file XLS con le schede dell'archivio, che si può aprire all'istante rispondendo sì alla domanda "
            "che segue."),
        // 3
        QStringLiteral("Da ultimo, salvare il foglio sul proprio disco con il nome che si preferisce."),
        // 4
        QStringLiteral(
            "Il pulsante \"Esporta in CSV\", accanto a quello di Excel, scrive tutte le schede "
            "dell'archivio, "
            "così come sono salvate, in un file CSV scelto dall'utente (in partenza il nome dell'archivio, "
            "nella cartella Documenti): una riga di intestazione con i nomi dei campi, poi una riga per "
            "scheda, con i file allegati e i nomi delle due fotografie. I valori sono separati dal punto e "
            "virgola e il file è in UTF-8, così che le lettere accentate arrivino intatte. Per vederlo in un "
            "foglio di calcolo senza che codici e numeri vengano trasformati, aprirlo con LibreOffice Calc o "
            "Excel scegliendo il punto e virgola come separatore e il tipo \"Testo\" per tutte le colonne. "
            "Lo "
            "stesso file si reimporta con il pulsante \"Importa\" della scheda."),
    };
    return paragraphs;
}

// A run of overview paragraphs, numbered from 1 as the overview numbers them.
QStringList overviewRun(int first, int last)
{
    return overviewParagraphs().mid(first - 1, last - first + 1);
}

} // namespace

QString helpTitle(HelpTopic topic)
{
    switch (topic) {
    case HelpTopic::Overview:
        return QStringLiteral("Uno sguardo a Brivanto");
    case HelpTopic::Archives:
        return QStringLiteral("Creazione e apertura archivi giochi da tavolo");
    case HelpTopic::Editor:
        return QStringLiteral("App Zendaro");
    case HelpTopic::Export:
        return QStringLiteral("Esportazione archivio giochi da tavolo in Excel");
    }
    return {};
}

QStringList helpParagraphs(HelpTopic topic)
{
    switch (topic) {
    case HelpTopic::Overview:
        return overviewParagraphs();
    case HelpTopic::Archives:
        return overviewRun(3, 8);
    case HelpTopic::Editor:
        return overviewRun(9, 20);
    case HelpTopic::Export:
        return exportParagraphs();
    }
    return {};
}

QString helpText(HelpTopic topic)
{
    return helpParagraphs(topic).join(QStringLiteral("\r\n\r\n"));
}

QString keyboardTitle()
{
    return QStringLiteral("Tastiera");
}

QStringList keyboardParagraphs()
{
    QStringList paragraphs = {
        QStringLiteral("Brivanto si usa anche senza mouse. Il tasto Tab porta al controllo successivo e "
                       "Maiusc+Tab al precedente; la barra spaziatrice e il tasto Invio premono il pulsante "
                       "evidenziato, e soltanto quello."),
        QStringLiteral("Nei campi della scheda e nei filtri della ricerca il tasto Invio passa al campo "
                       "successivo. Nella casella \"Trova\" il tasto Invio porta al pulsante \"Trova\", che "
                       "un secondo Invio preme; negli elenchi delle schede trovate e dei giochi in vendita "
                       "il tasto Invio richiama la scheda della voce selezionata, come il doppio clic. "
                       "Nell'elenco degli archivi le frecce, Home, Fine e l'iniziale del nome selezionano "
                       "un archivio, e il tasto Invio lo apre."),
        QStringLiteral("Il tasto Esc chiude le finestre come il loro pulsante \"Chiudi\" o \"Annulla\", "
                       "anche nelle schermate di creazione e di apertura di un archivio; il tasto F1 apre "
                       "la guida della schermata che ne ha una."),
        QStringLiteral("Nei campi della scheda i tasti Home, Fine, Ctrl+Home, Ctrl+Fine e gli altri tasti di "
                       "scrittura agiscono soltanto sul testo del campo. Se la scheda sullo schermo contiene "
                       "modifiche non ancora salvate, prima di passare a un'altra scheda, di preparare una "
                       "nuova scheda o di uscire Brivanto chiede \"Salvare le modifiche alla scheda "
                       "corrente?\": S\u00EC le salva, No prosegue senza salvarle, Annulla resta sulla "
                       "scheda."),
        QStringLiteral("Nella schermata della scheda valgono inoltre queste scorciatoie, che fanno quello "
                       "che fa il pulsante corrispondente:"),
    };
    for (const EditorKey& key : EditorKeys)
        paragraphs.append(QString::fromUtf16(key.name) + QStringLiteral(": ") + QString::fromUtf16(key.does) +
                          QLatin1Char('.'));
    return paragraphs;
}

} // namespace brivanto::help
