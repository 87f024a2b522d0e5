<?xml version="1.0" encoding="UTF-8"?>
<message>
<id>
<class>GW.MESSAGE.MAIL</class>
<account>Robin Ashdown</account>
<mapi>5C21AA10.halvorn.po1.100.1.1.1@1</mapi>
</id>
<props>
<core>
<archived>false</archived>
<notify-del>false</notify-del>
<routed>false</routed>
<routed-eol>false</routed-eol>
<read>true</read>
<private>false</private>
<notify-open>false</notify-open>
<hidden>false</hidden>
<opened>true</opened>
<deleted>false</deleted>
<convattach>false</convattach>
<rev-no>1</rev-no>
<reply-days-req>0</reply-days-req>
<reply-req>0</reply-req>
<from>Robin Ashdown</from>
<subject>Project kick-off meeting notes</subject>
<view>mail</view>
<date-create>20261204T163000</date-create>
<date-modified>20261204T163000</date-modified>
<boxtype>2</boxtype>
<priority>1</priority>
<sender email-type="NGW" email-address="robin.ashdown@halvorn.example">Robin Ashdown</sender>
<recipients>
<recipient display-name="Ellis Fenwick" target-type="0">ellis.fenwick@halvorn.example</recipient>
<recipient display-name="Dana Whitlock" target-type="0">dana.whitlock@brantford.example</recipient>
<recipient display-name="Marguerite Okonkwo-Lindqvist" target-type="0">m.okonkwo@halvorn.example</recipient>
<recipient display-name="Tobias Hargreave" target-type="0">tobias.hargreave@halvorn.example</recipient>
<recipient display-name="Priya Ramaswamy" target-type="0">priya.ramaswamy@halvorn.example</recipient>
<recipient display-name="" target-type="0">facilities@halvorn.example</recipient>
<recipient display-name="Jonas Eberhardt" target-type="0">j.eberhardt@halvorn.example</recipient>
<recipient display-name="Sven Åkerlund" target-type="1">sven.akerlund@halvorn.example</recipient>
<recipient display-name="Chloé Marchetti" target-type="1">chloe.marchetti@halvorn.example</recipient>
<recipient display-name="Records Office" target-type="2">records@halvorn.example</recipient>
</recipients>
</core>
<body>
<plain><![CDATA[Hello all,

thank you for joining the kick-off. Agreed:

  1. Weekly status on Mondays at 10:00.
  2. Ellis owns the budget, Dana the supplier contacts.
  3. First milestone review on 15 January.

Robin
]]></plain>
</body>
<email>
<completed>false</completed>
<delegated>false</delegated>
<notify-completed>false</notify-completed>
<date-delivered>20261204T163005</date-delivered>
</email>
</props>
<save-log date-saved="20240401T120000" status="0">
<item type="0">Saved by the archiver</item>
</save-log>
</message>
