<?xml version="1.0" encoding="UTF-8"?>
<message>
<id>
<class>GW.MESSAGE.PHONE</class>
<account>Robin Ashdown</account>
<mapi>5C21AE7B.halvorn.po1.100.1.1.1@1</mapi>
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
<from>Front Desk</from>
<subject>Call from Brantford Ltd</subject>
<view>mail</view>
<date-create>20261208T143000</date-create>
<date-modified>20261208T143000</date-modified>
<boxtype>1</boxtype>
<priority>2</priority>
<sender email-type="NGW" email-address="front.desk@halvorn.example">Front Desk</sender>
<recipients>
<recipient display-name="Robin Ashdown" target-type="0">robin.ashdown@halvorn.example</recipient>
</recipients>
</core>
<body>
<plain><![CDATA[About the delayed toner delivery; she is in until 17:00.
]]></plain>
</body>
<phone>
<came-to-see>false</came-to-see>
<please-call>true</please-call>
<returned-call>false</returned-call>
<telephoned>true</telephoned>
<urgent>true</urgent>
<wants-see>false</wants-see>
<will-call>false</will-call>
<phone-number>+44 20 7946 0018</phone-number>
<caller-name>Dana Whitlock</caller-name>
<caller-company>Brantford Ltd</caller-company>
<date-delivered>20261208T143112</date-delivered>
</phone>
</props>
<save-log date-saved="20240401T120000" status="0">
<item type="0">Saved by the archiver</item>
</save-log>
</message>
