#include "mainwindow/mainmenu.h"

const QList<MainMenuEntry> &mainMenuEntries()
{
    using E = MainMenuEntry;
    static const QList<MainMenuEntry> entries = {
        {E::Menu, "kon_m", "Коннект", nullptr, E::NoFlags, nullptr},
        {E::Item, "pod_m", "Подключиться", "kon_m", E::NoFlags, nullptr},
        {E::Item, "otkl_m", "Отключиться", "kon_m", E::Disabled, nullptr},
        {E::Separator, "wq1", nullptr, "kon_m", E::NoFlags, nullptr},
        {E::Item, "end_of_rogramm", "Выйти из программы", "kon_m", E::NoFlags, nullptr},

        {E::Menu, "nstrs_m", "Настройки", nullptr, E::NoFlags, nullptr},
        {E::Item, "nast_m", "Настройка", "nstrs_m", E::NoFlags, "Form1"},
        {E::Menu, "sort_okn_m", "Сортирование окон", "nstrs_m", E::NoFlags, nullptr},
        {E::Item, "soft_kask", "Сортировать каскадом", "sort_okn_m", E::NoFlags, nullptr},
        {E::Separator, "wq10", nullptr, "sort_okn_m", E::NoFlags, nullptr},
        {E::Item, "otk_okn_m", "Открытые окна", "sort_okn_m", E::WindowList, nullptr},
        {E::Separator, "wq2", nullptr, "nstrs_m", E::NoFlags, nullptr},
        {E::Menu, "smen_stat", "Сменить статус", "nstrs_m", E::NoFlags, nullptr},
        {E::Item, "online_m_st", "Онлайн", "smen_stat", E::Checkable | E::Checked, nullptr},
        {E::Item, "zanjat_m_st", "Занят", "smen_stat", E::Checkable, nullptr},
        {E::Item, "nevid_m_st", "Не видимый", "smen_stat", E::Checkable, nullptr},
        {E::Separator, "wq9", nullptr, "nstrs_m", E::NoFlags, nullptr},
        {E::Item, "nastr_vid_spis", "Настройки видимого списка", "nstrs_m", E::NoFlags, "Form25"},
        {E::Item, "zap_st_m", "Запоминать статус при выходе", "nstrs_m", E::Checkable | E::Checked, nullptr},
        {E::Menu, "rej_bot_m", "Режим бота", "nstrs_m", E::NoFlags, nullptr},
        {E::Item, "rej_kom_m", "Команды", "rej_bot_m", E::Checkable | E::Checked, nullptr},
        {E::Item, "rej_auto_m", "Автоответчик", "rej_bot_m", E::Checkable, nullptr},
        {E::Item, "rej_zerk_m", "Зеркало", "rej_bot_m", E::Checkable, nullptr},

        {E::Menu, "serv_s", "Сервис", nullptr, E::NoFlags, nullptr},
        {E::Item, "posl_m", "Послать сообщение", "serv_s", E::NoFlags, "Form2"},
        {E::Separator, "wq31", nullptr, "serv_s", E::NoFlags, nullptr},
        {E::Item, "cher_m", "Чёрный список", "serv_s", E::NoFlags, "Form5"},
        {E::Item, "kont_sp_m", "Контакт список", "serv_s", E::NoFlags, "Form37"},
        {E::Separator, "wq32", nullptr, "serv_s", E::NoFlags, nullptr},
        {E::Item, "stat_Mm", "Статистика", "serv_s", E::NoFlags, "Form16"},
        {E::Menu, "log_all_m", "Логи", "serv_s", E::NoFlags, nullptr},
        {E::Item, "log_m", "Логи", "log_all_m", E::NoFlags, "Form7"},
        {E::Item, "log_ne_izvest_m", "Логи не известных команд", "log_all_m", E::NoFlags, "Form29"},
        {E::Separator, "wq33", nullptr, "serv_s", E::NoFlags, nullptr},
        {E::Item, "spis_pols_m", "Список пользователей", "serv_s", E::NoFlags, "Form28"},
        {E::Separator, "wq34", nullptr, "serv_s", E::NoFlags, nullptr},
        {E::Menu, "podbot_m", "Подботы", "serv_s", E::NoFlags, nullptr},
        {E::Item, "pogodbot_m", "Погодный бот", "podbot_m", E::NoFlags, "Form44"},
        {E::Item, "botkursval_m", "Бот курса валют", "podbot_m", E::NoFlags, "Form45"},
        {E::Item, "BASH_m", "BASH бот", "podbot_m", E::NoFlags, "Form46"},

        {E::Menu, "pod_prog", "Подпрограммы", nullptr, E::NoFlags, nullptr},
        {E::Item, "pod_red", "Редикет", "pod_prog", E::NoFlags, "Form18"},
        {E::Item, "pod_auto_ras", "Авторассылка", "pod_prog", E::NoFlags, "Form19"},
        {E::Item, "anti_spam_m", "Анти-спам", "pod_prog", E::NoFlags, "Form32"},
        // A heading over the three items below it; never chosen.
        {E::Item, "opcionalno_vkl_fuc", "---Опционально включаемые---", "pod_prog", E::Disabled, nullptr},
        {E::Item, "blocnot_m", "Блокнот", "pod_prog", E::NoFlags, "Form23"},
        {E::Item, "svaz_m", "Связь с админом", "pod_prog", E::NoFlags, "Form24"},
        {E::Item, "chat_menu", "Чат", "pod_prog", E::NoFlags, "Form33"},

        {E::Menu, "kom_m", "Команды", nullptr, E::NoFlags, nullptr},
        {E::Item, "komand_m", "Управление командами", "kom_m", E::NoFlags, "Form9"},
        {E::Item, "dob_kom", "Добавочные команды", "kom_m", E::NoFlags, "Form49"},
        {E::Item, "golos_m", "Голосвания", "kom_m", E::NoFlags, "Form39"},
        {E::Item, "otv_neiz_m", "Ответ на неизвестную команду", "kom_m", E::NoFlags, "Form10"},
        {E::Separator, "wq11", nullptr, "kom_m", E::NoFlags, nullptr},
        {E::Item, "podpis_m", "Подпись", "kom_m", E::NoFlags, "Form34"},
        {E::Item, "info_o_bot_m", "Информация о боте", "kom_m", E::NoFlags, "Form35"},
        {E::Separator, "wq5", nullptr, "kom_m", E::NoFlags, nullptr},
        {E::Item, "grups_m", "Управление группами", "kom_m", E::NoFlags, "Form11"},

        {E::Menu, "o_prog_m", "О программе", nullptr, E::NoFlags, nullptr},
        {E::Item, "o_prog1_m", "О программе", "o_prog_m", E::NoFlags, "Form8"},
        {E::Item, "help_m", "Помощь", "o_prog_m", E::NoFlags, "Form27"},
        {E::Item, "news_bot", "Новости", "o_prog_m", E::NoFlags, nullptr},
        {E::Separator, "wq6", nullptr, "o_prog_m", E::NoFlags, nullptr},
        {E::Item, "pos_site_m", "Посетить сайт", "o_prog_m", E::NoFlags, nullptr},
        {E::Item, "pos_forum_m", "Посетить форум", "o_prog_m", E::NoFlags, nullptr},
        {E::Item, "tech_m", "Тех. поддержка", "o_prog_m", E::NoFlags, "Form4"},
        {E::Separator, "wq7", nullptr, "o_prog_m", E::NoFlags, nullptr},
        {E::Item, "obnov_m", "Проверить обновление", "o_prog_m", E::NoFlags, nullptr},
        {E::Item, "prot_obuc_m", "Пройти обучение", "o_prog_m", E::NoFlags, "Form26"},

        {E::Item, "v_trey", "В трей", nullptr, E::NoFlags, nullptr},
    };
    return entries;
}

const QList<ToolbarEntry> &toolbarEntries()
{
    static const QList<ToolbarEntry> entries = {
        {"et1", "Послать сообщение", "too1", "Form2"},    {"et2", "Настройки", "too2", "Form1"},
        {"et3", "Управление командами", "too3", "Form9"}, {"et4", "Управление группами", "too5", "Form11"},
        {"et5", "О программе", "too4", "Form8"},
    };
    return entries;
}
