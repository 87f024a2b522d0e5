<?xml version="1.0" encoding="UTF-8"?>
<message>
<id>
<class>GW.MESSAGE.NOTE</class>
<account>Robin Ashdown</account>
<mapi>5C21AF10.halvorn.po1.100.1.1.1@1</mapi>
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
<subject>Renew the parking permit</subject>
<view>mail</view>
<date-create>20261130T170000</date-create>
<date-modified>20261130T170000</date-modified>
<boxtype>4</boxtype>
<priority>2</priority>
<sender email-type="NGW" email-address="robin.ashdown@halvorn.example">Robin Ashdown</sender>
</core>
<body>
<plain><![CDATA[The permit runs out at the end of the year. Form 12b at the front desk.
]]></plain>
</body>
<note>
<accepted>true</accepted>
<autodate>false</autodate>
<completed>false</completed>
<delegated>false</delegated>
<on-calendar>true</on-calendar>
<personal>true</personal>
<notify-accepted>0</notify-accepted>
<notify-completed>0</notify-completed>
<notify-declined>0</notify-declined>
<start-date>20261215T000000</start-date>
</note>
</props>
<save-log date-saved="20240401T120000" status="0">
<item type="0">Saved by the archiver</item>
</save-log>
</message>
