// The pages' own wording in both languages. The riddle's options, clues and
// captions are not here: they come from riddle-data.js, the game's own tables.
// {name} marks a value filled in when the text is shown. In the Arabic texts,
// \u2066 and \u2069 keep paths and English names left to right.
(function (root) {
  "use strict";
  var texts = {
    en: {
      languageName: "English",
      languages: "Language",
      answerTitle: "Who has the Fish? Check your answer",
      answerHeading: "Check your answer",
      answerLead:
        "Copy the code from the game's code box, paste it here and press Enter or Check. " +
        "The game never judges an answer: this page does, inside your browser, " +
        "and sends nothing anywhere.",
      showFailing: "Show which clues fail",
      check: "Check",
      resultHeading: "Result",
      noResult: "No code checked yet.",
      solved: "Solved! Every clue holds.",
      fishOwner: "The {nationality} has the fish, in {house}.",
      notSolved: "Not solved.",
      // A count after a colon ("Clues that do not hold: 1.") was read as a clue's number.
      failing: { one: "One clue does not hold.", other: "{count} clues do not hold." },
      incomplete: "The grid is not complete: each row needs each option exactly once.",
      nearMiss:
        "Every other clue holds, and so would clue 4 if it meant anywhere to the left with " +
        "house 1 on the left; but your green house is not next door to the white house.",
      see_clue4: "See “How clue 4 is read”.",
      askFailing: "Tick “Show which clues fail” to see them.",
      notCode: "This is not an answer code.",
      error_empty: "Paste a code first.",
      error_tooShort: "It is too short: it has {length|characters}, and a code has at least {needed}.",
      characters: { one: "{n} character", other: "{n} characters" },
      error_twoCodes: "It holds {count} codes: paste one at a time.",
      error_notIndex:
        "At character {at} it reads “{piece}” where the {attribute} of {house} should be: " +
        "a list position reads “ 0” to “ 4”, or “-1” when nothing was chosen.",
      error_noDash: "A dash should stand at character {at}.",
      error_noCounter: "It should end with a dash, a space and the counter.",
      error_counterNotNumber: "The counter at its end, “{counter}”, is not a number.",
      error_counterTooLarge:
        "The counter at its end, “{counter}”, is larger than the game can count.",
      playerName: "Your name, for the organiser (if you like):",
      sendToOrganiser: "Send to the organiser",
      mailSubject: "Mindlark answer from {name}",
      mailSubjectAnonymous: "Mindlark answer",
      mailName: "Name: {name}",
      mailCode: "Code: {code}",
      organiserRefused:
        "This link names the organiser as “{address}”, which is not one plain e-mail address, " +
        "so the page offers no mail to send. Ask the organiser for the right link.",
      gridCaption: "The grid in this code",
      unchosen: "—",
      unchosenSpoken: "nothing chosen",
      house: "House",
      codeLink: "A link that checks this code",
      age: "Age",
      ageEmpty: "(empty)",
      time: "Time",
      rowsHeading: "What the grid lacks",
      rowUnchosen: "{attribute}: nothing chosen in {houses}.",
      rowRepeated: "{attribute}: {option} is chosen in {houses}.",
      failingHeading: "Clues that fail",
      openHeading: "Clues that cannot be checked until the rows are complete",
      listSeparator: ", ",
      clue4Heading: "How clue 4 is read",
      clue4Text:
        "“To the left of” means next door: the green house stands directly beside the " +
        "white house, on its left. In the game's English pane house 1 is on the left, so " +
        "the green house's number is one below the white house's; in the Arabic pane " +
        "house 1 is on the right, so it is one above. Both answers count. Read as " +
        "“anywhere to the left”, the clues would allow seven grids with different owners " +
        "of the fish, so the page does not read it that way.",
      clue15Heading: "How clue 15 is read",
      clue15Text:
        "As in the English pane: the person who smokes Blend has a neighbour who drinks " +
        "water. The Arabic pane's wording says the Blend smoker drinks the water himself, " +
        "which no grid allows together with the other clues.",
      toRegister: "Accounts: how to make one and back it up",
      toAnswer: "Check your answer",
      registerTitle: "Accounts in Mindlark?",
      registerHeading: "Making an account",
      registerMade:
        "There is nothing to sign up for on the web. Accounts are made in the game " +
        "itself: on the first start, or from the sign-in window's “New User”, the game " +
        "asks for your name, age, e-mail, a user name and a password; press “Add User”.",
      registerWhere:
        "Your accounts live only on your own computer, in the folder " +
        "~/.local/share/mindlark (or $XDG_DATA_HOME/mindlark, or the folder that " +
        "MINDLARK_DATA_DIR names). The game keeps passwords there as plain text. Whoever " +
        "can read that folder can read them: on your own disk that is only you, in a shared " +
        "folder such as a class's network drive everyone who shares it, and on a USB stick " +
        "anyone who holds the stick.",
      registerBackup:
        "To back your accounts up, copy that whole folder while the game is not " +
        "running, for example:",
      registerRestore: "To restore them, copy the folder back the same way.",
      homeTitle: "Mindlark?",
      homeLead: "A bilingual logic-riddle game: who has the fish?",
      toBoard: "Results board, for organisers",
      boardTitle: "Who has the Fish? Results board",
      boardHeading: "Results board",
      boardLead:
        "For a teacher, a club or a library running the riddle: gather the players' answer " +
        "codes here and the board judges each one and ranks the players. Paste lines with a " +
        "name and a code, or choose or drop a spreadsheet's CSV or TSV, saved mails (.eml) " +
        "or a mail program's mbox export.",
      boardPrivate:
        "Nothing you put here leaves your browser: the page reads the files itself and keeps " +
        "the board in this browser, on this computer, until you clear it.",
      boardCollect:
        "To collect answers by mail, give the players the answer page's address with yours " +
        "after ?to=, for example answer/index.html?to=you@example.org: the page then offers " +
        "each player a mail to you with their name and code, which this board reads.",
      pasteLabel: "Names and codes, or mails:",
      addPasted: "Add to the board",
      filesLabel: "Or choose files, or drop them anywhere on the page:",
      pasted: "pasted text",
      progress: "Reading: {done} of {total}",
      added: "Added: {read|entries} read, {skipped} of them skipped.",
      countsHeading: "Counts",
      countRead: "Entries read",
      countJudged: "Codes judged",
      countUnreadable: "Codes that could not be read",
      countSkipped: "Skipped",
      countSolved: "Names with a solved code",
      entries: { one: "{n} entry", other: "{n} entries" },
      codes: { one: "{n} code", other: "{n} codes" },
      filterLabel: "Show",
      filterAll: "All",
      filterSolved: "Solved",
      filterUnsolved: "Not solved",
      findLabel: "Find a name",
      exportCsv: "Export as CSV",
      print: "Print",
      clearBoard: "Clear the board…",
      clearQuestion: "Clear the board? Its {count|entries} go from this browser, and cannot be brought back.",
      clearYes: "Clear",
      clearNo: "Keep the board",
      tableCaption: "Results",
      emptyBoard: "The board is empty: paste codes or choose files above.",
      shownOf: "Names shown: {shown} of {total}.",
      showMore: "Show more",
      colPlace: "Place",
      colName: "Name",
      colVerdict: "Verdict",
      colTime: "Time",
      colAge: "Age",
      colSent: "Sent",
      colNotes: "Notes",
      noName: "(no name)",
      verdictSolved: "Solved",
      verdictIncomplete: "Grid incomplete",
      verdictFailing: { one: "Clue {clues} fails", other: "Clues {clues} fail" },
      verdictUnreadable: "Not a code",
      verdictSeparator: "; ",
      note_twoCodes: "{count|codes} in one entry.",
      note_counted: "Sent {count|codes}: this one counts.",
      note_notCounted: "Not counted: another code of this name counts.",
      note_quotedIgnored: "An older code quoted in the reply was left out.",
      note_onlyQuoted: "The code is only in quoted text.",
      note_legacyEncoding: "The file is not UTF-8; it was read as {encoding}.",
      skippedHeading: "Skipped",
      skip_noCode: "no code in it",
      skip_notText:
        "not a text file (a spreadsheet's own format, an Outlook .msg, a picture): save a sheet " +
        "as CSV, a mail as .eml",
      skip_badMail: "the mail could not be read",
      skip_duplicate: "already on the board",
      skip_unreadable: "the file could not be opened",
      storageRefused:
        "This browser would not keep the board (its storage is full or turned off): export it " +
        "as CSV before you close the page.",
      whereLine: "\u2068{source}\u2069, line {line}",
      whereMessage: "\u2068{source}\u2069, message {message}",
      whereFile: "\u2068{source}\u2069",
      aboutHeading: "About this page",
      aboutMail:
        "Saved mail is read with postal-mime 4.2.0 by Andris Reinman, under the MIT No " +
        "Attribution licence (MIT-0), which comes with the page: " +
        "assets/vendor/postal-mime.LICENSE.txt.",
      aboutCsv:
        "The CSV export puts an apostrophe before a field that starts with =, +, - or @, so " +
        "that a spreadsheet shows a name such as =SUM(A1) instead of running it.",
    },
    ar: {
      languageName: "العربية",
      languages: "اللغة",
      answerTitle: "من يملك السمكة؟ تحقق من جوابك",
      answerHeading: "تحقق من جوابك",
      answerLead:
        "انسخ الشيفرة من مربع الشيفرة في اللعبة، والصقها هنا، ثم اضغط \u2066Enter\u2069 أو «تحقق». " +
        "اللعبة لا تحكم على الجواب أبداً: هذه الصفحة تفعل ذلك داخل متصفحك، " +
        "ولا ترسل شيئاً إلى أي مكان.",
      showFailing: "أظهر المساعدات التي لا تتحقق",
      check: "تحقق",
      resultHeading: "النتيجة",
      noResult: "لم تُفحص أي شيفرة بعد.",
      solved: "أحسنت! الجواب صحيح: كل المساعدات تتحقق.",
      fishOwner: "السمكة عند ال{nationality}، في {house}.",
      notSolved: "الجواب غير صحيح.",
      failing: {
        one: "مساعدة واحدة لا تتحقق.",
        two: "مساعدتان لا تتحققان.",
        few: "{count} مساعدات لا تتحقق.",
        many: "{count} مساعدةً لا تتحقق.",
        other: "{count} مساعدة لا تتحقق.",
      },
      incomplete: "الجدول غير مكتمل: يجب أن يظهر كل خيار مرة واحدة بالضبط في كل صف.",
      nearMiss:
        "كل المساعدات الأخرى تتحقق، وكانت المساعدة 4 ستتحقق لو كانت تعني «في أي مكان إلى " +
        "اليسار» والبيت 1 على اليسار؛ لكن البيت الأخضر في جوابك ليس بجانب البيت الأبيض.",
      see_clue4: "انظر «كيف تُقرأ المساعدة 4».",
      // Only the Arabic list needs this: its clue 15 says something else than what is checked.
      clue15Note:
        "تُفحص هذه المساعدة كما في اللوحة الإنكليزية: لمدخن بلاند جار يشرب الماء، " +
        "وليس أنه يشرب الماء بنفسه.",
      see_clue15: "انظر «كيف تُقرأ المساعدة 15».",
      askFailing: "اختر «أظهر المساعدات التي لا تتحقق» لتراها.",
      notCode: "هذه ليست شيفرة جواب.",
      error_empty: "الصق الشيفرة أولاً.",
      error_tooShort: "إنها قصيرة جداً: فيها {length|characters}، والشيفرة لا تقل عن {needed|characters}.",
      characters: { one: "حرف واحد", two: "حرفان", few: "{n} أحرف", many: "{n} حرفاً", other: "{n} حرف" },
      error_twoCodes: "فيها {count|codes}: الصق شيفرة واحدة في كل مرة.",
      error_notIndex:
        "عند الحرف {at} نجد «{piece}» في مكان {attribute} في {house}: " +
        "رقم الخيار يُكتب من « 0» إلى « 4»، أو «-1» إذا لم يُختر شيء.",
      error_noDash: "يجب أن تكون هناك شَرطة (-) عند الحرف {at}.",
      error_noCounter: "يجب أن تنتهي الشيفرة بشَرطة ثم مسافة ثم العدّاد.",
      error_counterNotNumber: "العدّاد في آخرها، «{counter}»، ليس عدداً.",
      error_counterTooLarge: "العدّاد في آخرها، «{counter}»، أكبر مما تستطيع اللعبة أن تعدّ.",
      playerName: "اسمك، ليعرفه المنظِّم (إن شئت):",
      sendToOrganiser: "أرسل الجواب إلى المنظِّم",
      mailSubject: "جواب مايندلارك من {name}",
      mailSubjectAnonymous: "جواب مايندلارك",
      mailName: "الاسم: {name}",
      mailCode: "الشيفرة: {code}",
      organiserRefused:
        "يذكر هذا الرابط عنوان المنظِّم «{address}»، وهو ليس عنوان بريد إلكتروني واحداً بسيطاً، " +
        "لذلك لا تعرض الصفحة رسالة لإرسالها. اطلب من المنظِّم الرابط الصحيح.",
      gridCaption: "الجدول في هذه الشيفرة",
      unchosen: "—",
      unchosenSpoken: "لم يُختر شيء",
      house: "البيت",
      codeLink: "رابط يفحص هذه الشيفرة",
      age: "العمر",
      ageEmpty: "(فارغ)",
      time: "الوقت",
      rowsHeading: "ما ينقص الجدول",
      rowUnchosen: "{attribute}: لم يُختر شيء في {houses}.",
      rowRepeated: "{attribute}: «{option}» مختار في {houses}.",
      failingHeading: "المساعدات التي لا تتحقق",
      openHeading: "مساعدات لا يمكن فحصها قبل أن تكتمل الصفوف",
      listSeparator: "، ",
      clue4Heading: "كيف تُقرأ المساعدة 4",
      clue4Text:
        "«على يسار» تعني بجانبه مباشرة: البيت الأخضر ملاصق للبيت الأبيض من جهة اليسار. " +
        "في اللوحة الإنكليزية من اللعبة يقع البيت 1 على اليسار، فيكون رقم البيت الأخضر " +
        "أقل من رقم البيت الأبيض بواحد؛ وفي اللوحة العربية يقع البيت 1 على اليمين، فيكون " +
        "أكبر منه بواحد. يُقبل الجوابان كلاهما. أما إذا قُرئت «في أي مكان إلى اليسار» " +
        "فتسمح المساعدات بسبعة جداول يختلف فيها مالك السمكة، ولذلك لا تعتمد الصفحة هذه القراءة.",
      clue15Heading: "كيف تُقرأ المساعدة 15",
      clue15Text:
        "كما في اللوحة الإنكليزية: الشخص الذي يدخن بلاند له جار يشرب الماء. " +
        "نص اللوحة العربية يقول إن مدخن بلاند نفسه يشرب الماء، ولا يوجد جدول يحقق ذلك " +
        "مع بقية المساعدات.",
      toRegister: "الحسابات: كيف تنشئ حساباً وتحفظ نسخة منه",
      toAnswer: "تحقق من جوابك",
      registerTitle: "الحسابات في مايندلارك؟",
      registerHeading: "إنشاء حساب",
      registerMade:
        "لا يوجد تسجيل على الإنترنت. تُنشأ الحسابات في اللعبة نفسها: عند أول تشغيل، " +
        "أو من زر «\u2066New User\u2069» في نافذة الدخول، تطلب اللعبة اسمك وعمرك وبريدك الإلكتروني " +
        "واسم مستخدم وكلمة سر؛ ثم اضغط «\u2066Add User\u2069».",
      registerWhere:
        "حساباتك موجودة على حاسوبك فقط، في المجلد \u2066~/.local/share/mindlark\u2069 " +
        "(أو \u2066$XDG_DATA_HOME/mindlark\u2069، أو المجلد الذي يحدده \u2066MINDLARK_DATA_DIR\u2069). " +
        "تحفظ اللعبة كلمات السر هناك كنص عادي، ويقرؤها كل من يستطيع قراءة ذلك المجلد: على قرصك " +
        "الخاص أنت وحدك، وفي مجلد مشترك مثل قرص الصف على الشبكة كل من يشاركه، وعلى ذاكرة " +
        "\u2066USB\u2069 كل من يحملها.",
      registerBackup:
        "لتحفظ نسخة احتياطية من حساباتك، انسخ المجلد كله واللعبة مغلقة، مثلاً:",
      registerRestore: "ولاستعادتها، انسخ المجلد إلى مكانه بالطريقة نفسها.",
      homeTitle: "مايندلارك؟",
      homeLead: "لعبة ألغاز منطقية بلغتين: من يملك السمكة؟",
      toBoard: "لوحة النتائج، للمنظِّمين",
      boardTitle: "من يملك السمكة؟ لوحة النتائج",
      boardHeading: "لوحة النتائج",
      boardLead:
        "للمعلم أو النادي أو المكتبة التي تنظّم اللغز: اجمع هنا شيفرات أجوبة اللاعبين، فتحكم " +
        "اللوحة على كل واحدة منها وترتّب اللاعبين. الصق أسطراً فيها اسم وشيفرة، أو اختر أو " +
        "أفلت ملف \u2066CSV\u2069 أو \u2066TSV\u2069 من جدول بيانات، أو رسائل محفوظة " +
        "(\u2066.eml\u2069)، أو ملف \u2066mbox\u2069 صدّره برنامج البريد.",
      boardPrivate:
        "لا يخرج شيء مما تضعه هنا من متصفحك: تقرأ الصفحة الملفات بنفسها، وتحفظ اللوحة في هذا " +
        "المتصفح على هذا الحاسوب حتى تمسحها.",
      boardCollect:
        "لتجمع الأجوبة بالبريد، أعطِ اللاعبين عنوان صفحة الجواب وبعده \u2066?to=\u2069 " +
        "وعنوانك، مثلاً \u2066answer/index.html?to=you@example.org\u2069: فتعرض الصفحة على كل " +
        "لاعب رسالة إليك فيها اسمه وشيفرته، وهذه اللوحة تقرؤها.",
      pasteLabel: "أسماء وشيفرات، أو رسائل:",
      addPasted: "أضف إلى اللوحة",
      filesLabel: "أو اختر ملفات، أو أفلتها في أي مكان من الصفحة:",
      pasted: "النص الملصق",
      progress: "القراءة: {done} من {total}",
      added: "أُضيف: قُرئ {read|entries}، وتُرك منها {skipped}.",
      countsHeading: "الأعداد",
      countRead: "المشاركات المقروءة",
      countJudged: "الشيفرات المحكوم عليها",
      countUnreadable: "شيفرات تعذّرت قراءتها",
      countSkipped: "ما تُرك",
      countSolved: "أسماء لها جواب صحيح",
      entries: {
        zero: "لا مشاركات",
        one: "مشاركة واحدة",
        two: "مشاركتان",
        few: "{n} مشاركات",
        many: "{n} مشاركةً",
        other: "{n} مشاركة",
      },
      codes: { one: "شيفرة واحدة", two: "شيفرتان", few: "{n} شيفرات", many: "{n} شيفرةً", other: "{n} شيفرة" },
      filterLabel: "اعرض",
      filterAll: "الكل",
      filterSolved: "الأجوبة الصحيحة",
      filterUnsolved: "الأجوبة غير الصحيحة",
      findLabel: "ابحث عن اسم",
      exportCsv: "صدّر بصيغة \u2066CSV\u2069",
      print: "اطبع",
      clearBoard: "امسح اللوحة…",
      clearQuestion: "أتمسح اللوحة؟ تُحذف {count|entries} من هذا المتصفح، ولا يمكن استعادتها.",
      clearYes: "امسح",
      clearNo: "أبقِ اللوحة",
      tableCaption: "النتائج",
      emptyBoard: "اللوحة فارغة: الصق شيفرات أو اختر ملفات في الأعلى.",
      shownOf: "الأسماء المعروضة: {shown} من {total}.",
      showMore: "اعرض المزيد",
      colPlace: "المرتبة",
      colName: "الاسم",
      colVerdict: "الحكم",
      colTime: "الوقت",
      colAge: "العمر",
      colSent: "أُرسل في",
      colNotes: "ملاحظات",
      noName: "(بلا اسم)",
      verdictSolved: "صحيح",
      verdictIncomplete: "الجدول غير مكتمل",
      verdictFailing: {
        one: "لا تتحقق المساعدة {clues}",
        two: "لا تتحقق المساعدتان {clues}",
        other: "لا تتحقق المساعدات {clues}",
      },
      verdictUnreadable: "ليست شيفرة",
      verdictSeparator: "؛ ",
      note_twoCodes: "{count|codes} في مشاركة واحدة.",
      note_counted: "أرسل {count|codes}: هذه هي التي تُحتسب.",
      note_notCounted: "لا تُحتسب: تُحتسب شيفرة أخرى لهذا الاسم.",
      note_quotedIgnored: "تُركت شيفرة أقدم اقتُبست في الرد.",
      note_onlyQuoted: "الشيفرة موجودة في نص مقتبس فقط.",
      note_legacyEncoding: "الملف ليس بترميز \u2066UTF-8\u2069؛ قُرئ بترميز \u2066{encoding}\u2069.",
      skippedHeading: "ما تُرك",
      skip_noCode: "لا شيفرة فيه",
      skip_notText:
        "ليس ملفاً نصياً (صيغة جدول البيانات الخاصة، أو رسالة \u2066Outlook .msg\u2069، أو صورة): " +
        "احفظ الجدول بصيغة \u2066CSV\u2069 والرسالة بصيغة \u2066.eml\u2069",
      skip_badMail: "تعذّرت قراءة الرسالة",
      skip_duplicate: "موجود في اللوحة من قبل",
      skip_unreadable: "تعذّر فتح الملف",
      storageRefused:
        "لم يحفظ هذا المتصفح اللوحة (مساحة التخزين ممتلئة أو معطّلة): صدّرها بصيغة " +
        "\u2066CSV\u2069 قبل أن تغلق الصفحة.",
      whereLine: "\u2068{source}\u2069، السطر {line}",
      whereMessage: "\u2068{source}\u2069، الرسالة {message}",
      whereFile: "\u2068{source}\u2069",
      aboutHeading: "عن هذه الصفحة",
      aboutMail:
        "تُقرأ الرسائل المحفوظة بمكتبة \u2066postal-mime 4.2.0\u2069 التي كتبها أندريس راينمان، " +
        "بترخيص \u2066MIT No Attribution (MIT-0)\u2069، وهي مرفقة بالصفحة: " +
        "\u2066assets/vendor/postal-mime.LICENSE.txt\u2069.",
      aboutCsv:
        "يضع التصدير بصيغة \u2066CSV\u2069 فاصلة عليا قبل كل حقل يبدأ بـ = أو + أو - أو @، " +
        "حتى يعرض جدول البيانات اسماً مثل \u2066=SUM(A1)\u2069 بدلاً من أن ينفّذه.",
    },
  };
  if (typeof module === "object" && module.exports) module.exports = texts;
  else root.MindlarkTexts = texts;
})(this);
