; Mailer configuration written by the Tarvex fixture generator
;
Address         2:5020/9999
Station         Fixture Station
; Freq_Ndx      wrong.frq
[Freq] Freq_Dir dir.frq      ; request directories

   Freq_Ndx     index.frq   
  [Alias list]  AddressAliases aliases.lst
Log             t-mail.log
