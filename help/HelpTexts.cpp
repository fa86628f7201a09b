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
            "Il pulsante con il grafico a barre, come i tasti Ctrl+T, apre le statistiche della collezione: "
            "quanti giochi contiene l'archivio, quanto valgono in tutto, in media e a metà della collezione, "
            "quanti sono in vendita e per quale cifra, quali mancano del valore di mercato o della "
            "fotografia "
            "e quali hanno difetti annotati. I grafici, ognuno con la sua tabella, mostrano i giochi per "
            "genere, casa editrice, stato, rarità, lingua, paese, luogo, decennio, numero di giocatori, "
            "durata, "
            "complessità ed età, contati o per valore, e i dieci giochi più preziosi; un doppio clic su una "
            "barra elenca i suoi giochi. Negli elenchi della ricerca e dei giochi in vendita il pulsante "
            "\"Statistiche\" fa lo stesso per i soli giochi elencati."),
        // 22
        QStringLiteral(
            "Brivanto si può usare anche in una rete locale, condividendo gli archivi fra più postazioni di "
            "lavoro. Ogni salvataggio, eliminazione o importazione tiene l'archivio e le sue foto per sé "
            "dall'inizio alla fine, e un'operazione interrotta (per esempio da un'interruzione di corrente) "
            "viene completata o annullata alla successiva apertura dell'archivio, da qualunque postazione. "
            "Un archivio che l'utente può soltanto leggere si consulta, si cerca, si stampa e si esporta "
            "normalmente; il salvataggio, l'eliminazione e l'importazione segnalano che l'archivio è in sola "
            "lettura, senza modificare nulla."),
        // 23
        QStringLiteral(
            "L'accesso al programma è protetto da una password, che l'utente può cambiare tutte le volte che "
            "vuole. Per il primo accesso la password è la parola \"benvenutissimo\", da scrivere senza le "
            "virgolette."),
        // 24
        QStringLiteral("Brivanto funziona anche da chiavetta USB: basta copiare la cartella del programma "
                       "sulla chiavetta "
                       "e fare doppio clic sull'icona dell'applicazione. Copiare la cartella su un "
                       "dispositivo esterno è "
                       "anche il modo più rapido per avere una copia di sicurezza di tutti gli archivi."),
        // 25
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

// The statistics screen has a help text of its own, which is also the guide's chapter on it.
const QStringList& statisticsParagraphs()
{
    static const QStringList paragraphs = {
        // 1
        QStringLiteral(
            "La finestra delle statistiche risponde alle domande che prima o poi ogni collezionista si pone "
            "sul proprio catalogo: quanti giochi contiene, quanto vale, di che generi sono, in che stato si "
            "trovano, che cosa è in vendita e per quanto, quali sono i pezzi più preziosi e quali schede "
            "mancano del valore o della fotografia. Si apre dalla scheda con il pulsante del grafico a barre "
            "o con i tasti Ctrl+T e riguarda tutto l'archivio; negli elenchi della ricerca e dei giochi in "
            "vendita il pulsante \"Statistiche\" (anche lì Ctrl+T) la apre per i soli giochi elencati. Il "
            "titolo della finestra dice sempre quali giochi riguarda."),
        // 2
        QStringLiteral(
            "In alto stanno le cifre principali: il numero dei giochi, il valore di mercato totale, quello "
            "medio e quello mediano (il valore che sta a metà della collezione, con tanti giochi che valgono "
            "di più e tanti che valgono di meno), i giochi in vendita con il loro valore, i giochi senza "
            "valore di mercato, quelli senza fotografia e quelli con difetti annotati. Il valore medio e il "
            "mediano riguardano i soli giochi con un valore. Un clic sulle ultime quattro cifre, o i tasti "
            "Tab e Invio, elencano i rispettivi giochi."),
        // 3
        QStringLiteral(
            "I valori sono sommati al centesimo, così come la scheda li salva, con il punto fra le migliaia: "
            "12.345,50 €. Un valore vuoto o di 0,00 € conta tra i giochi senza valore; un valore che non si "
            "legge come una cifra in euro, per esempio \"1.234,5\" o \"abc\", non viene indovinato ma "
            "conta anch'esso tra i giochi senza valore, che la cifra dice quanti sono, e si ritrova "
            "nell'elenco di quei giochi per correggerlo."),
        // 4
        QStringLiteral(
            "A sinistra si sceglie il grafico: genere, casa editrice, stato di conservazione, rarità, "
            "lingua, "
            "paese di origine, luogo di conservazione, decennio di uscita, numero di giocatori, durata della "
            "partita, livello di complessità, età consigliata e i dieci giochi più preziosi. Sotto l'elenco "
            "si sceglie che cosa misurano le barre: il numero di giochi (Alt+N) oppure il loro valore di "
            "mercato (Alt+V). In ogni barra la parte blu sono i giochi non in vendita e quella arancione i "
            "giochi in vendita: i due colori si distinguono anche per chi non vede bene i colori e restano "
            "diversi nella stampa in bianco e nero."),
        // 5
        QStringLiteral(
            "I campi scritti a mano sono raggruppati senza badare a maiuscole, accenti e spazi: "
            "\"Strategico\", \"strategico\" e \"STRATEGICO\" sono lo stesso genere, mostrato come lo si "
            "scrive più spesso. Oltre i dodici gruppi più numerosi, i gruppi più piccoli confluiscono in "
            "\"Altro\", e i campi vuoti formano il gruppo \"(non indicato)\". Il numero di giocatori si "
            "legge da scritte come \"2-4\", \"2+\" o \"3 - 5 giocatori\", e un gioco conta per ogni "
            "numero di giocatori che ammette; l'anno, la durata e l'età si leggono quando sono scritti "
            "in cifre chiare, altrimenti il gioco conta tra i \"(non riconosciuto)\"."),
        // 6
        QStringLiteral(
            "Accanto al grafico la tabella riporta per ogni gruppo il numero di giochi, quanti sono in "
            "vendita, il valore di mercato e la quota sul totale; un clic su un'intestazione la ordina. Con "
            "la tastiera il tasto Tab porta dall'elenco dei grafici alla scelta della misura, alle barre e "
            "alla tabella; le frecce passano da una barra o da una riga all'altra e il lettore di schermo "
            "legge di ciascuna il nome e le cifre. Il tasto Invio, come il doppio clic e il pulsante "
            "\"Elenca giochi\", elenca i giochi del gruppo; dall'elenco, come dalla ricerca, il doppio clic "
            "o Invio richiama la scheda del gioco, dopo aver chiesto se salvare le modifiche alla scheda "
            "corrente."),
        // 7
        QStringLiteral(
            "\"Copia tabella\" copia la tabella, da incollare in un foglio di calcolo; \"Salva CSV\" la "
            "salva in un file CSV con il punto e virgola come separatore, che i fogli di calcolo aprono. "
            "\"Anteprima\" mostra e \"Stampa\" stampa un foglio A4 con le cifre principali e il grafico "
            "sullo schermo, con le barre in proporzione e le cifre della tabella accanto; dalla finestra di "
            "stampa si può anche scegliere di stampare su un file PDF."),
        // 8
        QStringLiteral(
            "Sotto il titolo la finestra riporta il giorno e l'ora in cui l'archivio è stato letto. Se nel "
            "frattempo l'archivio cambia, per esempio perché un'altra postazione salva una scheda, la "
            "finestra lo segnala, e il pulsante \"Aggiorna\" (Alt+R) lo legge di nuovo. Se l'archivio non "
            "si può leggere, Brivanto lo dice e la finestra non si apre."),
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
    case HelpTopic::Statistics:
        return QStringLiteral("Statistiche della collezione");
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
        return overviewRun(9, 21);
    case HelpTopic::Export:
        return exportParagraphs();
    case HelpTopic::Statistics:
        return statisticsParagraphs();
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
        QStringLiteral(
            "Nella finestra delle statistiche il tasto Tab porta ai grafici, alla misura, alle barre e "
            "alla tabella; le frecce passano da una barra o da una riga all'altra, il tasto Invio "
            "elenca i giochi della barra o della riga, Alt+N e Alt+V fanno misurare le barre in "
            "numero di giochi o in valore di mercato."),
        QStringLiteral("Nella schermata della scheda valgono inoltre queste scorciatoie, che fanno quello "
                       "che fa il pulsante corrispondente:"),
    };
    for (const EditorKey& key : EditorKeys)
        paragraphs.append(QString::fromUtf16(key.name) + QStringLiteral(": ") + QString::fromUtf16(key.does) +
                          QLatin1Char('.'));
    return paragraphs;
}

} // namespace brivanto::help
