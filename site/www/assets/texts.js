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
      failingOne: "One clue does not hold.",
      failingCount: "{count} clues do not hold.",
      incomplete: "The grid is not complete: each row needs each option exactly once.",
      nearMiss:
        "Every other clue holds, and so would clue 4 if it meant anywhere to the left with " +
        "house 1 on the left; but your green house is not next door to the white house.",
      see_clue4: "See “How clue 4 is read”.",
      askFailing: "Tick “Show which clues fail” to see them.",
      notCode: "This is not an answer code.",
      error_empty: "Paste a code first.",
      error_tooShort: "It is too short: it has {length} characters, and a code has at least {needed}.",
      error_notIndex:
        "At character {at} it reads “{piece}” where the {attribute} of {house} should be: " +
        "a list position reads “ 0” to “ 4”, or “-1” when nothing was chosen.",
      error_noDash: "A dash should stand at character {at}.",
      error_noCounter: "It should end with a dash, a space and the counter.",
      error_counterNotNumber: "The counter at its end, “{counter}”, is not a number.",
      error_counterTooLarge:
        "The counter at its end, “{counter}”, is larger than the game can count.",
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
        "MINDLARK_DATA_DIR names). The game keeps passwords there as plain text, in files " +
        "only you can read.",
      registerBackup:
        "To back your accounts up, copy that whole folder while the game is not " +
        "running, for example:",
      registerRestore: "To restore them, copy the folder back the same way.",
      homeTitle: "Mindlark?",
      homeLead: "A bilingual logic-riddle game: who has the fish?",
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
      failingOne: "عدد المساعدات التي لا تتحقق: {count}.",
      failingCount: "عدد المساعدات التي لا تتحقق: {count}.",
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
      error_tooShort: "إنها قصيرة جداً: فيها {length} حرفاً، والشيفرة لا تقل عن {needed} حرفاً.",
      error_notIndex:
        "عند الحرف {at} نجد «{piece}» في مكان {attribute} في {house}: " +
        "رقم الخيار يُكتب من « 0» إلى « 4»، أو «-1» إذا لم يُختر شيء.",
      error_noDash: "يجب أن تكون هناك شَرطة (-) عند الحرف {at}.",
      error_noCounter: "يجب أن تنتهي الشيفرة بشَرطة ثم مسافة ثم العدّاد.",
      error_counterNotNumber: "العدّاد في آخرها، «{counter}»، ليس عدداً.",
      error_counterTooLarge: "العدّاد في آخرها، «{counter}»، أكبر مما تستطيع اللعبة أن تعدّ.",
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
        "تحفظ اللعبة كلمات السر هناك كنص عادي، في ملفات لا يقرؤها أحد غيرك.",
      registerBackup:
        "لتحفظ نسخة احتياطية من حساباتك، انسخ المجلد كله واللعبة مغلقة، مثلاً:",
      registerRestore: "ولاستعادتها، انسخ المجلد إلى مكانه بالطريقة نفسها.",
      homeTitle: "مايندلارك؟",
      homeLead: "لعبة ألغاز منطقية بلغتين: من يملك السمكة؟",
    },
  };
  if (typeof module === "object" && module.exports) module.exports = texts;
  else root.MindlarkTexts = texts;
})(this);
